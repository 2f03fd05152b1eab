#include "particles/Scene.hpp"

namespace quorvane::particles {

Vector fromScene(Vector scene, Box layer, Vector anchor) {
    return {scene.x + anchor.x * layer.width, layer.height - (scene.y + anchor.y * layer.height)};
}

void Scene::resize(double width, double height) {
    const bool changed = width != width_ || height != height_;
    for (auto& layer : layers_)
        if (layer.fillsView)
            layer.box = {0, 0, width, height};
    width_ = width;
    height_ = height;
    for (auto& layer : layers_)
        for (auto& system : layer.systems)
            system.setViewSize(layer.box.width, layer.box.height);
    if (changed && resized) {
        resized(*this, width, height);
        for (auto& layer : layers_)
            for (auto& system : layer.systems)
                system.setViewSize(layer.box.width, layer.box.height);
    }
}

void Scene::step(double seconds) {
    for (auto& layer : layers_)
        for (auto& system : layer.systems)
            system.step(seconds);
}

void Scene::burst() {
    ++bursts_;
    for (auto& layer : layers_)
        for (auto& system : layer.systems)
            system.burst();
}

std::size_t Scene::particleCount() const {
    std::size_t count = 0;
    for (const auto& layer : layers_)
        for (const auto& system : layer.systems)
            count += system.particles().size();
    return count;
}

}  // namespace quorvane::particles

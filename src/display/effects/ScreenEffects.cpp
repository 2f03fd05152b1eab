#include "display/effects/ScreenEffects.hpp"

#include <algorithm>

namespace quorvane::display {

std::shared_ptr<particles::Scene> FireworkTask::makeScene() {
    auto scene = std::make_shared<particles::Scene>("fireworks");
    scene->layers().push_back(effectLayer(services_, id(), "fireworks", effectSeed(services_)));
    return scene;
}

// The rain and its splashes take their places from the scene's own space,
// y up: rain from the top edge, spread over two and a half widths; the
// splashes in a strip along the bottom of the visible frame, anchored
// 10 points below its top, from 8 points above that.
std::shared_ptr<particles::Scene> RainTask::makeScene() {
    auto scene = std::make_shared<particles::Scene>("rain");
    const auto seed = effectSeed(services_);
    scene->layers().push_back(effectLayer(services_, id(), "rain", seed));
    auto splashes = effectLayer(services_, id(), "rainLand", seed + 1);
    splashes.fillsView = false;
    scene->layers().push_back(std::move(splashes));
    scene->resized = [frames = manager_](particles::Scene& shown, double width, double height) {
        auto& rain = shown.layers()[0];
        for (auto& system : rain.systems) {
            auto& emitter = system.emitter();
            const double x = system.preset().position.x;
            emitter.position = particles::fromScene({x, height}, rain.box);
            emitter.position.x = x;
            emitter.positionRange.x = 2.5 * width;
        }
        // The visible frame's bottom and sides, from the screen's.
        const auto& frame = frames->frame;
        const auto& visible = frames->visibleFrame;
        const double left = visible.size.width > 0 ? visible.origin.x - frame.origin.x : 0;
        const double bottom = visible.size.width > 0 ? visible.origin.y - frame.origin.y : 0;
        const double stripWidth = visible.size.width > 0 ? std::min(visible.size.width, width - left) : width;
        auto& strip = shown.layers()[1];
        strip.box = {left, height - bottom - splashHeight, std::max(stripWidth, 0.0), splashHeight};
        const particles::Vector anchor{0.5, (splashHeight - 10) / splashHeight};
        const double top = (1 - anchor.y) * splashHeight;
        for (auto& system : strip.systems) {
            auto& emitter = system.emitter();
            emitter.position =
                particles::fromScene({system.preset().position.x, top - 8}, strip.box, anchor);
            emitter.positionRange.x = 0.6 * strip.box.width;
        }
    };
    return scene;
}

// Flakes 60 points across (at scale 1), living 0 to 10 s, born anywhere
// above the middle from the top centre; set again on every resize.
std::shared_ptr<particles::Scene> SnowTask::makeScene() {
    auto scene = std::make_shared<particles::Scene>("snow");
    auto layer = effectLayer(services_, id(), "snow", effectSeed(services_));
    for (auto& system : layer.systems) {
        auto& emitter = system.emitter();
        emitter.spriteSize = 60;
        emitter.lifetime = {5, 10};
    }
    scene->layers().push_back(std::move(layer));
    scene->resized = [](particles::Scene& shown, double width, double height) {
        auto& snow = shown.layers()[0];
        for (auto& system : snow.systems) {
            auto& emitter = system.emitter();
            emitter.position = particles::fromScene({width * 0.5, height}, snow.box);
            emitter.positionRange = {width, height};
        }
    };
    return scene;
}

}  // namespace quorvane::display

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "particles/ParticleSystem.hpp"

namespace quorvane::particles {

// A rectangle of the view, in points from its top-left corner, y down.
struct Box {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool operator==(const Box&) const = default;
};

// Part of a scene with systems of its own, placed in the view.
struct Layer {
    Box box{};
    bool fillsView = true;  // else placed by the scene's owner, on resize
    std::vector<ParticleSystem> systems{};
};

// Where a point given in a y-up scene space lies in a layer: `anchor` is
// the scene origin's place in the layer as a fraction of its size, (0, 0)
// the bottom-left corner. Layer points are y down from its top-left.
Vector fromScene(Vector scene, Box layer, Vector anchor = {});

// What one effect window shows: its layers, drawn in order. The renderer
// tells it the view's size and moves time on; whoever made it may lay its
// layers out again on each resize and fire bursts. Main thread only.
class Scene {
  public:
    explicit Scene(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    std::vector<Layer>& layers() { return layers_; }
    const std::vector<Layer>& layers() const { return layers_; }

    // Called on every change of the view's size, after the layers that
    // fill the view took the new size: the place to lay out the others and
    // to set what follows the size.
    std::function<void(Scene&, double width, double height)> resized;

    void resize(double width, double height);
    double width() const { return width_; }
    double height() const { return height_; }
    void step(double seconds);
    // Every system fires one burst.
    void burst();
    std::size_t particleCount() const;
    int bursts() const { return bursts_; }

  private:
    std::string name_;
    std::vector<Layer> layers_;
    double width_ = 0;
    double height_ = 0;
    int bursts_ = 0;
};

}  // namespace quorvane::particles

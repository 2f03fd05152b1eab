#pragma once

#include <QImage>
#include <cstdint>
#include <unordered_map>

#include "particles/Scene.hpp"

class QPainter;

namespace quorvane::platform::qt {

// Draws a particle scene with QPainter. Each sprite (shape, size and
// colour) is drawn once, at the device's pixel ratio, and then only
// placed: scaled, turned and faded per particle. Additive systems add
// their light (plus-lighter).
class ParticleRenderer {
  public:
    void paint(QPainter& painter, const particles::Scene& scene, double pixelRatio);
    std::size_t spriteCount() const { return sprites_.size(); }

  private:
    struct Sprite {
        QImage image;
        double width = 0;  // points at scale 1
        double height = 0;
    };
    const Sprite& sprite(particles::Shape shape, double size, particles::Colour colour, double pixelRatio);

    std::unordered_map<std::uint64_t, Sprite> sprites_;
    double pixelRatio_ = 0;
};

}  // namespace quorvane::platform::qt

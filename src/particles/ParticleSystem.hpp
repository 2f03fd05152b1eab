#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "particles/Preset.hpp"

namespace quorvane::particles {

// One live particle, in points from its view's top-left corner, y down.
struct Particle {
    double x = 0;
    double y = 0;
    double vx = 0;
    double vy = 0;
    double age = 0;
    double lifetime = 1;
    double scale = 1;
    double scaleSpeed = 0;
    double rotation = 0;  // radians, clockwise on screen
    double spin = 0;
    double alpha = 1;
    double alphaSpeed = 0;
    std::uint16_t colour = 0;  // into the preset's colours
    std::uint16_t shape = 0;   // into its shapes
};

// What the emitter does now: the preset's values, each of which a scene
// may override. Positions and speeds are in the preset's space.
struct Emitter {
    Vector position{};
    Vector positionRange{};
    Ranged angle{};
    Ranged speed{};
    Ranged lifetime{};
    Changing scale{};
    double birthRate = 0;
    int burstCount = 0;
    double spriteSize = 1;
};

// Particles made by one emitter. Its pool holds `maxParticles` and is
// taken once: a burst beyond it takes the places of the oldest particles,
// births beyond it make nothing, and no step or burst allocates. The same
// seed and the same calls give the same particles.
class ParticleSystem {
  public:
    ParticleSystem(Preset preset, std::uint64_t seed);

    const Preset& preset() const { return preset_; }
    Emitter& emitter() { return emitter_; }
    const Emitter& emitter() const { return emitter_; }

    // The view the particles live in, in points; unit values scale with it.
    void setViewSize(double width, double height);
    double viewWidth() const { return width_; }
    double viewHeight() const { return height_; }

    // Moves time on: ages, moves and ends particles, then births and the
    // bursts the preset fires by itself.
    void step(double seconds);
    // `burstCount` particles at once (at most the pool), from one point;
    // the oldest end to make room.
    void burst();
    void clear() { count_ = 0; }

    std::span<const Particle> particles() const { return {pool_.data(), count_}; }

  private:
    void emit(int count, bool together);
    double draw(Ranged band);
    Vector pointIn(Vector centre, Vector range);
    Vector inPoints(Vector point) const;
    double speedInPoints(double speed) const;

    Preset preset_;
    Emitter emitter_;
    std::mt19937_64 random_;
    std::vector<Particle> pool_;
    std::size_t count_ = 0;
    double width_ = 0;
    double height_ = 0;
    double owed_ = 0;       // births carried over between steps
    double untilBurst_ = 0; // the next burst the preset fires by itself
};

}  // namespace quorvane::particles

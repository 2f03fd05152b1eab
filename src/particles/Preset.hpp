#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::particles {

// A value and the width of the band it is drawn from: value ± range / 2.
struct Ranged {
    double value = 0;
    double range = 0;
    bool operator==(const Ranged&) const = default;
};

// One that also changes by `speed` every second of a particle's life.
struct Changing {
    double value = 0;
    double range = 0;
    double speed = 0;
    bool operator==(const Changing&) const = default;
};

struct Vector {
    double x = 0;
    double y = 0;
    bool operator==(const Vector&) const = default;
};

struct Colour {
    std::uint8_t red = 255;
    std::uint8_t green = 255;
    std::uint8_t blue = 255;
    bool operator==(const Colour&) const = default;
};

enum class Space {
    unit,   // positions a fraction of the view, speeds a fraction of its height
    points  // positions and speeds in points
};
enum class Shape { square, circle, streak, flake };
enum class Blend { normal, additive };
enum class ColourChoice { perParticle, perBurst };

// What an emitter makes, as data. Angles are in radians, counter-clockwise
// from the right with y up; positions and accelerations take y down for
// positions (from the view's top-left corner) and y up for accelerations,
// as a thrown thing reads: up is positive.
struct Preset {
    Space space = Space::unit;
    int maxParticles = 1;
    double birthRate = 0;    // particles per second, continuously
    int burstCount = 0;      // particles per burst
    Ranged burstInterval{};  // seconds between bursts it fires by itself; 0: only when asked
    Vector position{};
    Vector positionRange{};  // a burst starts from one point in it, a birth from its own
    Ranged lifetime{};
    Ranged angle{};
    Ranged speed{};
    Vector acceleration{};
    double damping = 0;  // the share of its speed a particle loses per second
    Changing scale{};
    Ranged spin{};  // radians per second
    Changing alpha{};
    std::vector<Colour> colours{};
    ColourChoice colourChoice = ColourChoice::perParticle;
    std::vector<Shape> shapes{};
    double spriteSize = 1;  // points, at scale 1
    Blend blend = Blend::normal;
    bool operator==(const Preset&) const = default;
};

// A preset read from JSON, or why not: `field` names the first field that
// is missing, unknown or out of range ("lifetime.range").
struct PresetLoad {
    std::optional<Preset> preset;
    std::string field;
    std::string problem;
};
PresetLoad parsePreset(std::string_view json);

const char* shapeName(Shape shape);

}  // namespace quorvane::particles

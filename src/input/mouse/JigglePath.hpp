#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/Geometry.hpp"

namespace quorvane::input {

// One point of a jiggle and how long to wait after posting it.
struct JiggleStep {
    platform::Point at{};
    std::chrono::microseconds pauseAfter{};
    bool operator==(const JiggleStep&) const = default;
};

// A jiggle as a hand makes it: two moves from `start` to random points of
// the upper-left quarter of a screen of `size`, each eased in and out at a
// random speed, a few hundred microseconds between points, and a pause
// after each move (mostly short, sometimes up to two seconds). Display
// coordinates (y down). The same seed gives the same path.
std::vector<JiggleStep> jigglePath(std::uint64_t seed, platform::Point start, platform::Size size);

// Ease-in-out cubic over [0, 1].
double easeInOutCubic(double t);

}  // namespace quorvane::input

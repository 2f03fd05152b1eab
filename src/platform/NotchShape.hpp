#pragma once

#include <vector>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// One step of an outline in a y-down drawing space. An arc runs around
// `centre` from `startAngle` to `endAngle` (radians, measured as a y-down
// space measures them) in the direction `clockwise` names.
struct PathElement {
    enum class Kind { move, line, arc, close };
    Kind kind = Kind::move;
    Point point{};  // move and line
    Point centre{};
    double radius = 0;
    double startAngle = 0;
    double endAngle = 0;
    bool clockwise = false;
    bool operator==(const PathElement&) const = default;
};

// The camera housing's outline in a rectangle of `size` whose top-left is
// the origin: flares of radius 8 that merge into the top edge, a body
// size.width − 16 wide, bottom corners of radius 10.
std::vector<PathElement> notchOutline(Size size);

// The notch banner's outline: `notchWidth` wide and centred in `size`, top
// corners flaring outwards with radius 10, bottom corners of radius 24.
std::vector<PathElement> bannerOutline(Size size, double notchWidth);

}  // namespace quorvane::platform

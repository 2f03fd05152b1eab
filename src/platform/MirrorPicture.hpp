#pragma once

#include <string>

#include "platform/Geometry.hpp"
#include "platform/VideoFrame.hpp"

namespace quorvane::platform {

// What a camera mirror window shows: a camera's frame in a square, cut to
// a shape, fitted or filling, mirrored and turned as asked; or, without a
// frame, `message` and `reason` in the shape. While hovered, a close and a
// mirror button sit near its top.
struct MirrorPicture {
    enum class Shape { circle, roundedRectangle, squircle };
    Shape shape = Shape::circle;
    bool fills = false;      // aspect fill; else aspect fit
    bool mirrored = false;   // left and right swapped
    int quarterTurns = 0;    // clockwise, 0 to 3
    bool bordered = false;
    bool hovered = false;
    VideoFrame frame{};
    std::string message{};
    std::string reason{};
    bool operator==(const MirrorPicture&) const = default;
};

// The rounded rectangle's corner radius for a mirror `side` points wide.
inline double mirrorCornerRadius(double side) {
    return side / 10;
}

// The hover buttons, in points from the window's top-left corner: 24
// points round, side by side above the middle, inside every shape.
inline constexpr double mirrorButtonSide = 24;
inline Rect mirrorCloseButton(double side) {
    return {{side / 2 - mirrorButtonSide - 4, side * 0.16}, {mirrorButtonSide, mirrorButtonSide}};
}
inline Rect mirrorFlipButton(double side) {
    return {{side / 2 + 4, side * 0.16}, {mirrorButtonSide, mirrorButtonSide}};
}

}  // namespace quorvane::platform

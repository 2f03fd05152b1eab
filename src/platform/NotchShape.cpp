#include "platform/NotchShape.hpp"

#include <algorithm>
#include <numbers>

namespace quorvane::platform {

namespace {

constexpr double pi = std::numbers::pi;

PathElement moveTo(double x, double y) {
    return {.kind = PathElement::Kind::move, .point = {x, y}};
}
PathElement lineTo(double x, double y) {
    return {.kind = PathElement::Kind::line, .point = {x, y}};
}
PathElement arc(Point centre, double radius, double start, double end, bool clockwise) {
    return {.kind = PathElement::Kind::arc,
            .centre = centre,
            .radius = radius,
            .startAngle = start,
            .endAngle = end,
            .clockwise = clockwise};
}

}  // namespace

std::vector<PathElement> notchOutline(Size size) {
    const double w = size.width;
    const double h = size.height;
    return {moveTo(0, 0),
            arc({0, 8}, 8, 3 * pi / 2, 2 * pi, false),
            lineTo(8, h - 10),
            arc({18, h - 10}, 10, pi, pi / 2, true),
            lineTo(w - 18, h),
            arc({w - 18, h - 10}, 10, pi / 2, 2 * pi, true),
            lineTo(w - 8, 8),
            arc({w, 8}, 8, pi, 3 * pi / 2, false),
            {.kind = PathElement::Kind::close}};
}

std::vector<PathElement> bannerOutline(Size size, double notchWidth) {
    const double width = std::min(notchWidth, size.width);
    const double left = (size.width - width) / 2;
    const double right = left + width;
    const double h = size.height;
    constexpr double flare = 10;
    const double corner = std::min(24.0, std::max(0.0, (h - flare) / 2));
    return {moveTo(left - flare, 0),
            arc({left - flare, flare}, flare, 3 * pi / 2, 2 * pi, false),
            lineTo(left, h - corner),
            arc({left + corner, h - corner}, corner, pi, pi / 2, true),
            lineTo(right - corner, h),
            arc({right - corner, h - corner}, corner, pi / 2, 0, true),
            lineTo(right, flare),
            arc({right + flare, flare}, flare, pi, 3 * pi / 2, false),
            {.kind = PathElement::Kind::close}};
}

}  // namespace quorvane::platform

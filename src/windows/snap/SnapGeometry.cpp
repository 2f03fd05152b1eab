#include "windows/snap/SnapGeometry.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane::windows {

using platform::Point;
using platform::Rect;

std::string_view rawValue(SnapPosition position) {
    switch (position) {
        case SnapPosition::top:
            return "Top Half";
        case SnapPosition::bottom:
            return "Bottom Half";
        case SnapPosition::left:
            return "Left Half";
        case SnapPosition::right:
            return "Right Half";
        case SnapPosition::center:
            return "Fullscreen";
        case SnapPosition::topLeft:
            return "Top Left";
        case SnapPosition::bottomLeft:
            return "Bottom Left";
        case SnapPosition::topRight:
            return "Top Right";
        case SnapPosition::bottomRight:
            return "Bottom Right";
    }
    return "Fullscreen";
}

Rect targetFrame(SnapPosition position, const Rect& v) {
    const double halfWidth = v.size.width * 0.5;
    const double halfHeight = v.size.height * 0.5;
    const double midX = v.minX() + halfWidth;
    const double midY = v.minY() + halfHeight;
    switch (position) {
        case SnapPosition::top:
            return {{v.minX(), midY}, {v.size.width, halfHeight}};
        case SnapPosition::bottom:
            return {{v.minX(), v.minY()}, {v.size.width, halfHeight}};
        case SnapPosition::left:
            return {{v.minX(), v.minY()}, {halfWidth, v.size.height}};
        case SnapPosition::right:
            return {{midX, v.minY()}, {halfWidth, v.size.height}};
        case SnapPosition::center:
            return v;
        case SnapPosition::topLeft:
            return {{v.minX(), midY}, {halfWidth, halfHeight}};
        case SnapPosition::bottomLeft:
            return {{v.minX(), v.minY()}, {halfWidth, halfHeight}};
        case SnapPosition::topRight:
            return {{midX, midY}, {halfWidth, halfHeight}};
        case SnapPosition::bottomRight:
            return {{midX, v.minY()}, {halfWidth, halfHeight}};
    }
    return v;
}

Rect titleBarStrip(const Rect& window) {
    return {{window.minX(), window.maxY() - titleBarHeight}, {window.size.width, titleBarHeight}};
}

namespace {

Rect unite(const Rect& a, const Rect& b) {
    const double minX = std::min(a.minX(), b.minX());
    const double minY = std::min(a.minY(), b.minY());
    return {{minX, minY},
            {std::max(a.maxX(), b.maxX()) - minX, std::max(a.maxY(), b.maxY()) - minY}};
}

}  // namespace

SnapLayout layoutOf(std::span<const platform::Screen> screens) {
    SnapLayout layout;
    for (const auto& screen : screens) {
        const Rect frame = platform::flipped(screen.frame, screens);
        layout.frame = layout.tiles.empty() ? frame : unite(layout.frame, frame);
        layout.tiles.push_back({screen, frame});
    }
    return layout;
}

Rect gridFrame(const SnapLayout& layout, std::span<const platform::Screen> screens) {
    return platform::flipped(layout.frame, screens);
}

Rect cellFrame(const Rect& tile, std::size_t index) {
    const double width = (tile.size.width - 2 * dividerWidth) / 3;
    const double height = (tile.size.height - 2 * dividerWidth) / 3;
    const auto column = static_cast<double>(index % 3);
    const auto row = static_cast<double>(index / 3);
    return {{tile.minX() + column * (width + dividerWidth),
             tile.minY() + row * (height + dividerWidth)},
            {width, height}};
}

std::optional<SnapCell> cellAt(const SnapLayout& layout, Point point,
                               std::span<const platform::Screen> screens) {
    const Point at = platform::flipped(point, screens);
    for (std::size_t tile = 0; tile < layout.tiles.size(); ++tile) {
        const Rect& frame = layout.tiles[tile].frame;
        if (!frame.contains(at))
            continue;
        for (std::size_t index = 0; index < gridOrder.size(); ++index)
            if (cellFrame(frame, index).contains(at))
                return SnapCell{tile, gridOrder[index]};
        return std::nullopt;  // a divider
    }
    return std::nullopt;
}

Rect integral(const Rect& rect) {
    const double minX = std::floor(rect.minX());
    const double minY = std::floor(rect.minY());
    return {{minX, minY}, {std::ceil(rect.maxX()) - minX, std::ceil(rect.maxY()) - minY}};
}

}  // namespace quorvane::windows

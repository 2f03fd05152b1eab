#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.hpp"

namespace quorvane::windows {

// Where a snapped window goes inside its screen's visible frame.
enum class SnapPosition { top, bottom, left, right, center, topLeft, bottomLeft, topRight, bottomRight };

// "Top Half", "Fullscreen", …
std::string_view rawValue(SnapPosition position);

// The cells of a screen's grid, row by row from the top.
inline constexpr std::array<SnapPosition, 9> gridOrder{
    SnapPosition::topLeft,    SnapPosition::top,    SnapPosition::topRight,
    SnapPosition::left,       SnapPosition::center, SnapPosition::right,
    SnapPosition::bottomLeft, SnapPosition::bottom, SnapPosition::bottomRight};

// A hovered cell: which screen (by name, so that a screen unplugged
// mid-drag is noticed at release) and where on it.
struct Snap {
    std::string screen{};
    SnapPosition position = SnapPosition::center;
    bool operator==(const Snap&) const = default;
};

// One screen's tile of the grid.
struct SnapTile {
    platform::Screen screen{};
    platform::Rect frame{};  // the screen's frame, accessibility space
};

// Every screen's tile, in the system's order, and their union.
struct SnapLayout {
    std::vector<SnapTile> tiles{};
    platform::Rect frame{};  // accessibility space
};

// The frame a window snapped to `position` takes: halves and quarters of
// the visible frame share their edges exactly. Cocoa space.
platform::Rect targetFrame(SnapPosition position, const platform::Rect& visibleFrame);

// The top 30 points of a window (Cocoa space): where a drag must start.
platform::Rect titleBarStrip(const platform::Rect& window);
inline constexpr double titleBarHeight = 30;

SnapLayout layoutOf(std::span<const platform::Screen> screens);

// The grid window's frame: the whole layout, each tile over its screen.
// Cocoa space.
platform::Rect gridFrame(const SnapLayout& layout, std::span<const platform::Screen> screens);

// The cell `index` (in gridOrder) of a tile, accessibility space: the
// tile's three columns and rows share it after 2-point dividers.
platform::Rect cellFrame(const platform::Rect& tile, std::size_t index);
inline constexpr double dividerWidth = 2;

// A cell of the grid: its tile's index in the layout, and its position.
struct SnapCell {
    std::size_t tile = 0;
    SnapPosition position = SnapPosition::center;
    bool operator==(const SnapCell&) const = default;
};

// The cell under a point (Cocoa space); none on a divider or off every
// tile. Allocates nothing: it runs for every pointer move of a drag.
std::optional<SnapCell> cellAt(const SnapLayout& layout, platform::Point point,
                               std::span<const platform::Screen> screens);

// The smallest rectangle of whole points holding `rect`.
platform::Rect integral(const platform::Rect& rect);

}  // namespace quorvane::windows

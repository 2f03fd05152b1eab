#pragma once

#include <cmath>
#include <span>
#include <string>
#include <vector>

namespace quorvane::platform {

// Points, sizes and rectangles in points. Two spaces are in use: Cocoa
// space (origin at the primary screen's bottom-left, y up: screens, the
// mouse location, events) and accessibility space (origin at its top-left,
// y down: window positions and sizes, the window list, hit testing).
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin{};
    Size size{};

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    // Half-open, so that two screens side by side never both hold a point.
    bool contains(Point point) const {
        return point.x >= minX() && point.x < maxX() && point.y >= minY() && point.y < maxY();
    }
    bool operator==(const Rect&) const = default;
};

inline bool isFinite(Point point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

// One screen, as the system lists them; the primary one first. `frame`
// and `visibleFrame` (without the menu bar and the Dock) are in Cocoa space.
struct Screen {
    std::string id{};
    std::string name{};
    Rect frame{};
    Rect visibleFrame{};
    bool operator==(const Screen&) const = default;
};

// Converts between Cocoa and accessibility space, in either direction: the
// flip is its own inverse. It turns about the primary screen's height only,
// so it holds for every screen (one above the primary has a negative
// accessibility y). With no screens, values pass through unchanged.
inline Point flipped(Point point, std::span<const Screen> screens) {
    if (screens.empty())
        return point;
    return {point.x, screens.front().frame.maxY() - point.y};
}

inline Rect flipped(const Rect& rect, std::span<const Screen> screens) {
    if (screens.empty())
        return rect;
    return {{rect.origin.x, screens.front().frame.maxY() - rect.origin.y - rect.size.height},
            rect.size};
}

// The screen holding `point`, else the primary one; none without screens.
inline const Screen* screenAt(Point point, std::span<const Screen> screens) {
    for (const auto& screen : screens)
        if (screen.frame.contains(point))
            return &screen;
    return screens.empty() ? nullptr : &screens.front();
}

// `frame` moved, not resized, to lie inside `area` (Cocoa space): left
// edge, then right, bottom, then top, so a frame larger than the area keeps
// its right and top edges inside it.
inline Rect movedInside(Rect frame, const Rect& area) {
    if (frame.minX() < area.minX())
        frame.origin.x = area.minX();
    if (frame.maxX() > area.maxX())
        frame.origin.x = area.maxX() - frame.size.width;
    if (frame.minY() < area.minY())
        frame.origin.y = area.minY();
    if (frame.maxY() > area.maxY())
        frame.origin.y = area.maxY() - frame.size.height;
    return frame;
}

// The system's list of screens. Main thread.
class Screens {
  public:
    virtual ~Screens() = default;
    virtual std::vector<Screen> screens() const = 0;
};

}  // namespace quorvane::platform

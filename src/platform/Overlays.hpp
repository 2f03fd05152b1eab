#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// Window levels, low to high, as the tweaks use them.
namespace overlayLevel {
inline constexpr int normal = 0;      // the active-window highlight, stacked by the window list
inline constexpr int floating = 3;    // floating panels
inline constexpr int status = 9;      // the notch banner
inline constexpr int effects = 25;    // the snap grid, screen effects
inline constexpr int display = 1000;  // black out, dim, brightness surface, simulated notch
}  // namespace overlayLevel

struct Rgba {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;
    bool operator==(const Rgba&) const = default;
};

// One screen's part of a snap grid: its frame (Cocoa space), its name,
// its desktop picture (a file; empty: a neutral fill with the name) and the
// cell of its 3 × 3 grid that is hovered (0 top left to 8 bottom right).
struct OverlayTile {
    Rect frame{};
    std::string label{};
    std::string picture{};
    int hovered = -1;
    bool operator==(const OverlayTile&) const = default;
};

// One of the program's own borderless windows above others.
struct OverlaySpec {
    // fill: the background colour, in a rounded rectangle when
    // `cornerRadius` is set; ring: only a 4-point border of it (the rest
    // lets clicks and the windows below show); snapGrid: `tiles`, hovered
    // cells in the background colour.
    enum class Content { fill, headroom, notch, ring, snapGrid };

    std::string owner{};  // the tweak or service that shows it
    Rect frame{};         // Cocoa space
    int level = overlayLevel::display;
    bool passesInput = true;  // clicks go to what lies below
    bool takesFocus = false;  // keys come to it (and go nowhere else)
    Rgba background{};
    Content content = Content::fill;
    bool cameraActive = false;  // notch content: the camera light
    double cornerRadius = 0;
    std::vector<OverlayTile> tiles{};
    bool operator==(const OverlaySpec&) const = default;
};

// Shows and closes overlay windows. Main thread only.
class Overlays {
  public:
    using Id = std::uint64_t;

    virtual ~Overlays() = default;
    // Shows a new window in front of everything below its level.
    virtual Id show(const OverlaySpec& spec) = 0;
    // Changes a shown window in place (its colour, frame or content).
    virtual void update(Id id, const OverlaySpec& spec) = 0;
    virtual void close(Id id) = 0;
    // Whether see-through windows are drawn see-through here (a compositing
    // desktop); without it a translucent window shows its colour opaque.
    virtual bool translucencyWorks() const = 0;
    // The windows shown now, oldest first.
    virtual std::vector<std::pair<Id, OverlaySpec>> shown() const = 0;
    // The window's id for the window server (what `WindowList::orderBelow`
    // takes); 0 when it is not shown.
    virtual std::uint64_t nativeWindow(Id id) const = 0;
};

inline const char* describe(OverlaySpec::Content content) {
    switch (content) {
        case OverlaySpec::Content::fill:
            return "fill";
        case OverlaySpec::Content::headroom:
            return "headroom";
        case OverlaySpec::Content::notch:
            return "notch";
        case OverlaySpec::Content::ring:
            return "ring";
        case OverlaySpec::Content::snapGrid:
            return "snap grid";
    }
    return "fill";
}

}  // namespace quorvane::platform

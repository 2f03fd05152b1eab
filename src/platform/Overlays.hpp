#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "particles/Scene.hpp"
#include "platform/Geometry.hpp"
#include "platform/MirrorPicture.hpp"
#include "platform/WindowList.hpp"

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

// One window's picture in a window preview, with its title; `frame` in the
// overlay (points from its top-left corner). The close and minimize
// buttons sit in its top-left corner (`closeButton`, `minimizeButton`).
struct OverlayThumbnail {
    Rect frame{};
    std::string title{};
    std::shared_ptr<const Image> image{};
    bool highlighted = false;
    bool operator==(const OverlayThumbnail& other) const {
        return frame == other.frame && title == other.title && image == other.image &&
               highlighted == other.highlighted;
    }
};
inline constexpr Rect thumbnailCloseButton{{6, 6}, {12, 12}};
inline constexpr Rect thumbnailMinimizeButton{{24, 6}, {12, 12}};

// The lock screen's unlock button: 96 points square in the middle of the
// window's frame (either space: it is centred).
inline constexpr double unlockButtonSide = 96;
inline Rect unlockButtonIn(Rect frame) {
    return {{frame.origin.x + (frame.size.width - unlockButtonSide) / 2,
             frame.origin.y + (frame.size.height - unlockButtonSide) / 2},
            {unlockButtonSide, unlockButtonSide}};
}

// One cap of a keystroke strip; `widthScale` in normal caps.
struct OverlayKeyCap {
    enum class Alignment { leading, center, trailing };
    std::string title{};
    std::string subtitle{};
    Alignment alignment = Alignment::center;
    int widthScale = 1;
    bool operator==(const OverlayKeyCap&) const = default;
};

// One of the program's own borderless windows above others.
struct OverlayDescription {
    // fill: the background colour, in a rounded rectangle when
    // `cornerRadius` is set; ring: only a 4-point border of it (the rest
    // lets clicks and the windows below show); snapGrid: `tiles`, hovered
    // cells in the background colour.
    // thumbnails: a panel of `thumbnails`; picture: `tiles`' first picture
    // filling the window, ringed in the background colour when
    // `cornerRadius` is set; keyCaps: `keyCaps` in a row, centred, pressed
    // in while `pressed`; cursorRing: a circle around the pointer in the
    // accent colour, smaller while `pressed`, glowing when `glows`;
    // lockScreen: the background colour, and the unlock button in the
    // middle when `showsUnlock`; particles: `scene` on a clear window,
    // moved on at 60 frames a second while the window is shown;
    // cameraMirror: `mirror`, cut to its shape.
    enum class Content {
        fill, headroom, notch, ring, snapGrid, thumbnails, picture, keyCaps, cursorRing, lockScreen,
        particles, cameraMirror
    };

    std::string owner{};  // the tweak or service that shows it
    Rect frame{};         // Cocoa space
    int level = overlayLevel::display;
    bool passesInput = true;  // clicks go to what lies below
    bool takesFocus = false;  // keys come to it (and go nowhere else)
    Rgba background{};
    Content content = Content::fill;
    bool cameraActive = false;  // notch content: the camera light
    double cornerRadius = 0;
    // Made but not shown yet: its stacking can be set before it appears.
    bool hidden = false;
    std::vector<OverlayTile> tiles{};
    std::vector<OverlayThumbnail> thumbnails{};
    std::shared_ptr<const Image> image{};  // picture content
    std::vector<OverlayKeyCap> keyCaps{};
    bool pressed = false;
    bool glows = false;
    bool showsUnlock = false;
    // Shared with whoever fires its bursts; the window steps it.
    std::shared_ptr<particles::Scene> scene{};
    MirrorPicture mirror{};
    bool operator==(const OverlayDescription&) const = default;
};

// Shows and closes overlay windows. Main thread only.
class Overlays {
  public:
    using Id = std::uint64_t;

    virtual ~Overlays() = default;
    // Shows a new window in front of everything below its level.
    virtual Id show(const OverlayDescription& description) = 0;
    // Changes a shown window in place (its colour, frame or content).
    virtual void update(Id id, const OverlayDescription& description) = 0;
    virtual void close(Id id) = 0;
    // Whether see-through windows are drawn see-through here (a compositing
    // desktop); without it a translucent window shows its colour opaque.
    virtual bool translucencyWorks() const = 0;
    // The windows shown now, oldest first.
    virtual std::vector<std::pair<Id, OverlayDescription>> shown() const = 0;
    // Pointer events over a window that takes clicks, in points from its
    // top-left corner: moves, presses of the left button, moves with it
    // held and its release, and the pointer leaving the window.
    enum class Pointer { moved, pressed, dragged, released, exited };
    using PointerHandler = std::function<void(Pointer, Point)>;
    virtual void onPointer(Id id, PointerHandler handler) = 0;
    // A shown window that takes every click and key keeps the person from
    // the desktop while the program stalls: where the window server allows,
    // it is taken down when the main thread stops answering, and `handler`
    // hears why once the main thread is back (the window is closed by then).
    using LetGoHandler = std::function<void(const std::string& why)>;
    virtual void onLetGo(Id id, LetGoHandler handler) = 0;
    // The window's id for the window server (what `WindowList::orderBelow`
    // takes); 0 when it is not shown.
    virtual std::uint64_t nativeWindow(Id id) const = 0;
};

inline const char* describe(OverlayDescription::Content content) {
    switch (content) {
        case OverlayDescription::Content::fill:
            return "fill";
        case OverlayDescription::Content::headroom:
            return "headroom";
        case OverlayDescription::Content::notch:
            return "notch";
        case OverlayDescription::Content::ring:
            return "ring";
        case OverlayDescription::Content::snapGrid:
            return "snap grid";
        case OverlayDescription::Content::thumbnails:
            return "window previews";
        case OverlayDescription::Content::picture:
            return "window picture";
        case OverlayDescription::Content::keyCaps:
            return "key caps";
        case OverlayDescription::Content::cursorRing:
            return "cursor ring";
        case OverlayDescription::Content::lockScreen:
            return "lock screen";
        case OverlayDescription::Content::particles:
            return "particles";
        case OverlayDescription::Content::cameraMirror:
            return "camera mirror";
    }
    return "fill";
}

}  // namespace quorvane::platform

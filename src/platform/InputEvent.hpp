#pragma once

#include <cstdint>
#include <string>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// Event types by their raw values on a Mac; a mask has bit n for type n.
enum class EventType : std::uint8_t {
    none = 0,
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    scrollWheel = 22,
    otherMouseDown = 25,
    otherMouseUp = 26,
    otherMouseDragged = 27,
};

using EventMask = std::uint64_t;

constexpr EventMask maskOf(EventType type) {
    return EventMask{1} << static_cast<unsigned>(type);
}
constexpr bool matches(EventMask mask, EventType type) {
    return (mask & maskOf(type)) != 0;
}

// The masks the tweaks install, one per use.
namespace eventMask {
// Window snapping and shake: left mouse up, left mouse dragged.
inline constexpr EventMask windowDrag = 0x44;
// Click to hide, the active-window highlight, hiding menu-bar items.
inline constexpr EventMask leftMouseUp = 0x4;
// The Dock window preview: left mouse down, right mouse up, mouse moved.
inline constexpr EventMask dockPreview = 0x32;
// The keyboard sound: key down, key up.
inline constexpr EventMask keyDownAndUp = 0xC00;
// The shortcut cheat sheet (local) and emoji shortcodes.
inline constexpr EventMask keyDown = 0x400;
// The keystroke visualizer: key down, flags changed.
inline constexpr EventMask keystrokes = 0x1400;
// Auto scroll, the mouse jiggler.
inline constexpr EventMask mouseMoved = 0x20;
// The cursor visualizer: every button down, up, dragged, and mouse moved.
inline constexpr EventMask allMouse = 0xE0000FE;
// Dismissing the popover and the notch banner: left or right mouse down.
inline constexpr EventMask dismissal = 0xA;
// What an event tap for scrolling asks for.
inline constexpr EventMask scrollWheel = 0x400000;
}  // namespace eventMask

// Modifier flags, in the Mac's bits.
namespace modifier {
inline constexpr std::uint64_t capsLock = 1u << 16;
inline constexpr std::uint64_t shift = 1u << 17;
inline constexpr std::uint64_t control = 1u << 18;
inline constexpr std::uint64_t option = 1u << 19;
inline constexpr std::uint64_t command = 1u << 20;
inline constexpr std::uint64_t numericPad = 1u << 21;
inline constexpr std::uint64_t function = 1u << 23;
inline constexpr std::uint64_t deviceIndependentMask = 0xFFFF0000u;
}  // namespace modifier

// Phases of a scroll gesture (a trackpad's; a wheel has none).
namespace scrollPhase {
inline constexpr int none = 0;
inline constexpr int began = 1;
inline constexpr int changed = 2;
inline constexpr int ended = 4;
}  // namespace scrollPhase

// One input event as monitors and taps see it. Keys carry the Mac's
// virtual key code whatever the host; text fields are UTF-8.
struct InputEvent {
    EventType type = EventType::none;
    Point location{};  // Cocoa space
    double deltaX = 0;
    double deltaY = 0;
    std::uint16_t keyCode = 0;
    std::string characters{};
    std::string charactersIgnoringModifiers{};
    std::uint64_t modifierFlags = 0;
    bool isARepeat = false;
    int buttonNumber = 0;  // 0 left, 1 right, 2 and up other
    int clickCount = 0;
    // Scrolling: line deltas (what a wheel's notch gives, fields 11 and 12
    // of an event tap), point deltas, and how devices are told apart.
    std::int64_t scrollLinesY = 0;
    std::int64_t scrollLinesX = 0;
    double scrollingDeltaY = 0;
    double scrollingDeltaX = 0;
    bool hasPreciseScrollingDeltas = false;
    int scrollPhase = scrollPhase::none;
    int momentumPhase = scrollPhase::none;
    double scrollCount = 0;

    bool operator==(const InputEvent&) const = default;
};

}  // namespace quorvane::platform

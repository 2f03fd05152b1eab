#pragma once

#include <cstdint>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Accessibility.hpp"
#include "platform/AwakeHolder.hpp"
#include "platform/DesktopReveal.hpp"
#include "platform/Displays.hpp"
#include "platform/EventMonitors.hpp"
#include "platform/Geometry.hpp"
#include "platform/Hotkeys.hpp"
#include "platform/InputEvent.hpp"
#include "platform/Journal.hpp"
#include "platform/KeyCapture.hpp"
#include "platform/KeyboardLayout.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/PointerDevices.hpp"
#include "platform/RunningApplications.hpp"
#include "platform/WindowList.hpp"
#include "adapters/x11/WindowHolds.hpp"

namespace quorvane::platform::x11 {

// What the program takes from an X11 session: its windows, input and
// displays. The adapters live in the X11 module ("libquorvane_x11.so"),
// which the program loads only when it runs in an X11 session, so that the
// xcb libraries cost nothing anywhere else. This header (with
// WindowHolds.hpp) is all the two share; the module's entry points are
// below.
class X11Session {
  public:
    struct Needs {
        MainQueue& mainQueue;
        Log& log;
        Journal& journal;
        // The primary screen in root coordinates.
        std::function<Rect()> primaryRootFrame;
        // Whether a pointer event lands on one of the program's windows,
        // and whether an X window is one of them.
        std::function<bool(const InputEvent&)> isOverOwnWindow;
        std::function<bool(std::uint32_t window)> isOwnWindow;
        // Whether any of them could have the key focus now.
        std::function<bool()> mayHaveKeyFocus;
        // An output's usable area, in root coordinates, if the desktop
        // knows it.
        std::function<std::optional<Rect>(const std::string& output)> workArea;
        // How long to wait for a window manager that is not there yet.
        std::chrono::milliseconds waitForWindowManager{0};
    };

    virtual ~X11Session() = default;

    virtual Screens& screens() = 0;
    virtual Displays& displays() = 0;
    virtual Accessibility& accessibility() = 0;
    virtual WindowList& windowList() = 0;
    virtual RunningApplications& applications() = 0;
    virtual DesktopReveal& reveal() = 0;
    virtual EventMonitors& monitors() = 0;
    virtual EventTaps& taps() = 0;
    virtual SyntheticEvents& synthetic() = 0;
    virtual KeyCapture& keyCapture() = 0;
    // The X server's keyboard layout, read now; nothing when XKB is missing.
    virtual std::unique_ptr<KeyboardLayout> keyboardLayout() = 0;
    // The pointer devices through XInput 2, connected now; nothing without it.
    virtual std::unique_ptr<PointerDevices> pointerDevices() = 0;
};

// Global key combinations held in the session for the program
// (`platform::HotkeyRegistry` keeps the names and handlers): a grabbed
// combination pressed anywhere is passed to `Pressed`, on the main thread.
class KeyGrabs {
  public:
    using Pressed = std::function<void(const KeyCombination&)>;
    virtual ~KeyGrabs() = default;
    // Refused, with a message for the user, when the keyboard has no such
    // key or another program holds the combination.
    virtual Status grab(const KeyCombination& combination) = 0;
    virtual void release(const KeyCombination& combination) = 0;
};

}  // namespace quorvane::platform::x11

// The module's entry points. Each answers nothing (null, false) where
// there is no X display to use.
extern "C" {
using QuorvaneX11Session =
    quorvane::platform::x11::X11Session* (*)(const quorvane::platform::x11::X11Session::Needs*);
using QuorvaneX11KeyGrabs = quorvane::platform::x11::KeyGrabs* (*)(
    const quorvane::platform::x11::KeyGrabs::Pressed*);
using QuorvaneX11Compositing = bool (*)();
using QuorvaneX11WindowHolds =
    quorvane::platform::x11::WindowHolds* (*)(quorvane::platform::MainQueue*);
using QuorvaneX11ScreenSaverSuspend = quorvane::platform::AwakeHolder* (*)();
}

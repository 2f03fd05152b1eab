#pragma once

#include <QLibrary>
#include <QString>

#include <memory>

#include "platform/HotkeyRegistry.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/UserDefaults.hpp"
#include "adapters/x11/X11Session.hpp"

namespace quorvane::platform::qt {

// The X11 adapters, in the X11 module: loaded the first time one is asked
// for, and only where there is an X display, so that the xcb libraries
// cost nothing to a program that runs without one. A module that cannot
// be loaded is logged once and the program goes on as without X11. Main
// thread only.
class X11Module {
  public:
    X11Module(Log& log, const QString& path);
    X11Module(const X11Module&) = delete;
    X11Module& operator=(const X11Module&) = delete;

    // The X11 session's windows, input and displays, when the program runs
    // on X11 (Qt's xcb platform) and the window manager speaks EWMH.
    std::unique_ptr<x11::X11Session> session(const x11::X11Session::Needs& needs);
    // Global shortcuts through the X display named by DISPLAY (nothing
    // without one); the module is loaded at their first grab.
    std::unique_ptr<HotkeyRegistry> hotkeys(UserDefaults& defaults);
    // Whether a compositing manager runs on the X11 session (false without one).
    bool compositingManagerRunning();
    // The watched grabs and covering windows for the program's own windows,
    // made on the first call (nothing off Qt's xcb platform); they last as
    // long as this.
    x11::WindowHolds* windowHolds(MainQueue& mainQueue);
    // Watches every popup Qt shows (and grabs the input for) through those
    // holds, from now on; nothing off Qt's xcb platform.
    void watchPopups(MainQueue& mainQueue);
    // The X server's own screen saver and power management, held off
    // through its screen-saver extension; nothing off Qt's xcb platform.
    AwakeHolder* screenSaverSuspend();
    // Whether the program runs in an X11 session (Qt's xcb platform).
    static bool inX11Session();

  private:
    QFunctionPointer resolve(const char* entry);

    Log& log_;
    QLibrary library_;
    bool failed_ = false;
    bool holdsTried_ = false;
    std::unique_ptr<x11::WindowHolds> holds_;
    std::unique_ptr<AwakeHolder> screenSaverSuspend_;
    std::unique_ptr<QObject> popups_;
};

}  // namespace quorvane::platform::qt

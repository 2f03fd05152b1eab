#pragma once

#include <functional>

#include "platform/Alerts.hpp"
#include "platform/DesktopPicture.hpp"
#include "platform/DesktopReveal.hpp"
#include "platform/EventMonitors.hpp"
#include "platform/Overlays.hpp"
#include "platform/UserDefaults.hpp"
#include "access/WindowsServices.hpp"

namespace quorvane::windows {

// What the window tweaks are built from: the window services, the mouse,
// overlay windows, and what the front end does to the program's own
// windows.
struct WindowTweakServices {
    WindowsServices& windows;
    platform::EventMonitors& monitors;
    platform::Overlays& overlays;
    platform::UserDefaults& defaults;
    platform::Alerts& alerts;
    platform::DesktopPicture& desktopPicture;
    // Minimizes this program's titled windows (never its overlays).
    std::function<void()> minimizeOwnWindows;
    // The desktop's own "show the desktop"; none: windows are minimized.
    platform::DesktopReveal* reveal = nullptr;
    // Whether the Dock's items can be read here (a Mac's Dock; a Linux
    // panel's launchers cannot).
    bool dockReadable = true;
};

// The system's accent colour, as the overlays draw it.
inline constexpr platform::Rgba accentColour{0, 122 / 255.0, 1, 1};

}  // namespace quorvane::windows

#pragma once

#include <chrono>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/Accessibility.hpp"
#include "platform/EventMonitors.hpp"
#include "platform/DesktopReveal.hpp"
#include "platform/Displays.hpp"
#include "platform/Geometry.hpp"
#include "platform/Journal.hpp"
#include "platform/KeyCapture.hpp"
#include "platform/KeyboardLayout.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/PointerDevices.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/RunningApplications.hpp"
#include "platform/WindowList.hpp"

namespace quorvane::platform::sim {
class SimDisplays;
class SimWindowServer;
}
namespace quorvane::platform::x11 {
class X11Session;
}
namespace quorvane::platform::qt {
class X11Module;
}

namespace quorvane::app {

// The desktop the window, input, display and text tweaks act on: screens,
// other applications' windows and accessibility elements, the window list,
// the running applications, and the input streams. One choice for all of
// them: an X11 session's, when there is one with an EWMH window manager and
// the RECORD, XTEST and RandR extensions; else the simulated Mac's desktop.
// QUORVANE_DESKTOP=simulated picks the simulated one on any host. A
// Wayland session ("Wayland") lets no program see others' windows or
// input: the simulated desktop stands behind those ports, unused (the
// tweaks that need them are unavailable there), while everything else is
// the session's own.
class DesktopSession {
  public:
    // `mainQueue` serves the X11 input stream; `isOwnWindowEvent` tells
    // events for our own windows, which global monitors must not see.
    // The simulated displays are kept in `simulatedDisplays` (none: in
    // memory only).
    // The X11 session comes from `x11` (none: the simulated desktop).
    DesktopSession(platform::Journal& journal, platform::Pasteboard& pasteboard,
                   platform::MainQueue& mainQueue, platform::Log& log,
                   std::filesystem::path simulatedDisplays = {},
                   platform::qt::X11Module* x11 = nullptr);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Whether QUORVANE_DESKTOP asks for the simulated desktop.
    static bool simulationRequested();
    // How long to wait for a window manager not there yet at start.
    static std::chrono::milliseconds windowManagerWait();

    platform::Screens& screens() { return *screens_; }
    // The displays behind the screens.
    platform::Displays& displays() { return *displays_; }
    platform::Accessibility& accessibility() { return *accessibility_; }
    platform::WindowList& windowList() { return *windowList_; }
    platform::RunningApplications& applications() { return *applications_; }
    platform::EventMonitors& monitors() { return *monitors_; }
    platform::EventTaps& taps() { return *taps_; }
    platform::SyntheticEvents& synthetic() { return *synthetic_; }
    platform::KeyCapture& keyCapture() { return *keyCapture_; }
    // The keyboard layout: the simulated Mac's US one, or the X server's,
    // read the first time a key asks (start-up does not wait for it).
    const platform::KeyboardLayout& keyboardLayout() const { return *keyboardLayout_; }
    // The X server's pointer devices, connected now (none without XInput 2
    // or off X11).
    std::unique_ptr<platform::PointerDevices> connectPointerDevices();
    // The desktop's own "show the desktop", where it has one.
    platform::DesktopReveal* reveal() { return reveal_; }

    // The simulated desktop, when it is the one in use.
    platform::sim::SimWindowServer* simulated() { return kind_ == "simulated" ? simulated_.get() : nullptr; }
    // Whether a desktop session (X11 or Wayland) is the one in use.
    bool isDesktopSession() const { return kind_ != "simulated"; }
    // Where a simulated key goes first: the global shortcuts.
    void setShortcutHandler(std::function<bool(const std::string&)> handler);
    // "simulated" or the session's kind: "X11", "Wayland".
    const std::string& kind() const { return kind_; }

  private:
    bool useX11Session(platform::qt::X11Module* x11, platform::Journal& journal,
                       platform::MainQueue& mainQueue, platform::Log& log);
    void useSimulation(platform::Journal& journal, platform::Pasteboard& pasteboard,
                       std::filesystem::path simulatedDisplays);

    std::unique_ptr<platform::sim::SimDisplays> simulatedDisplays_;
    std::unique_ptr<platform::sim::SimWindowServer> simulated_;
    std::unique_ptr<platform::x11::X11Session> x11_;
    std::function<bool(const std::string&)> shortcuts_;
    std::string kind_;
    platform::Screens* screens_ = nullptr;
    platform::Displays* displays_ = nullptr;
    platform::Accessibility* accessibility_ = nullptr;
    platform::WindowList* windowList_ = nullptr;
    platform::RunningApplications* applications_ = nullptr;
    platform::EventMonitors* monitors_ = nullptr;
    platform::EventTaps* taps_ = nullptr;
    platform::SyntheticEvents* synthetic_ = nullptr;
    platform::KeyCapture* keyCapture_ = nullptr;
    platform::DesktopReveal* reveal_ = nullptr;
    std::unique_ptr<platform::KeyboardLayout> keyboardLayout_;
};

}  // namespace quorvane::app

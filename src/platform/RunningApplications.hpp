#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::platform {

struct RunningApplication {
    int pid = 0;
    std::string name{};
    std::optional<std::string> bundleIdentifier{};
    // A Mac application's bundle; in an X11 session, the program it runs
    // (file:///usr/bin/gedit).
    std::optional<std::string> bundleUrl{};
    bool isActive = false;
    bool isHidden = false;
    // Has a Dock item (a regular activation policy); on X11, a normal
    // window the taskbar shows.
    bool regular = true;
    // Shows only parts of the desktop: a dock or panel, the desktop's own
    // window, notifications (the Dock on a Mac; on X11, a client whose every
    // window is typed _NET_WM_WINDOW_TYPE_DOCK, _DESKTOP or _NOTIFICATION).
    // It has no window of its own to hide.
    bool partOfDesktop = false;
    // What stands for its icon in a list: an emoji; empty when there is none.
    std::string icon{};
    // How to start it again (X11: its program and arguments, read while it
    // runs); empty where the bundle says.
    std::vector<std::string> launchCommand{};
    bool operator==(const RunningApplication&) const = default;
};

// The workspace's running applications. Main thread; observers are called
// on the main thread.
class RunningApplications {
  public:
    using Token = std::uint64_t;
    using Observer = std::function<void(const RunningApplication&)>;

    virtual ~RunningApplications() = default;
    virtual std::vector<RunningApplication> list() = 0;
    // The live frontmost application.
    virtual std::optional<RunningApplication> frontmost() = 0;
    virtual bool hide(int pid) = 0;
    virtual bool activate(int pid) = 0;
    // Ends the application at once, without asking it; never this program.
    virtual bool forceTerminate(int pid) = 0;
    // Opens the application again as it was started.
    virtual bool reopen(const RunningApplication& application) = 0;
    // This program's own pid, as the workspace lists it.
    virtual int ownPid() const = 0;
    // Called with each application as it becomes active.
    virtual Token observeActivation(Observer observer) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace quorvane::platform

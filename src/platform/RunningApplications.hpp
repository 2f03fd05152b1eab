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
    // This program's own pid, as the workspace lists it.
    virtual int ownPid() const = 0;
    // Called with each application as it becomes active.
    virtual Token observeActivation(Observer observer) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace quorvane::platform

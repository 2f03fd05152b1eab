#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/AwakeHolder.hpp"

namespace quorvane::system {

// Keeps a desktop session awake with what it offers: the screen saver and
// the display's power saving held off by the first display holder that
// can (the session's screen-saver service, else the X server itself), and
// idle sleep blocked by the system's holder (logind) where there is one.
// Without a display hold it refuses: a switch that says on while the
// screen still blanks would lie. Main thread.
class SessionAwake {
  public:
    struct Holder {
        std::string name;  // "the X server"
        // Asked at each hold, so that a holder made on first use costs
        // nothing until then; nothing: not in this session.
        std::function<platform::AwakeHolder*()> source;
    };
    struct Held {
        std::vector<std::unique_ptr<platform::AwakeHolder::Hold>> holds;
        // "the screen saver by the X server; idle sleep by logind"
        std::string description;
        // Why idle sleep is not blocked, when it is not; empty otherwise.
        std::string sleepNotBlocked;
    };

    SessionAwake(std::vector<Holder> display, Holder sleep);

    platform::Result<Held> hold(const std::string& why);

  private:
    std::vector<Holder> display_;
    Holder sleep_;
};

}  // namespace quorvane::system

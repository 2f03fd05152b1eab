#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The system's own power-off schedule and sleep (logind on Linux).
// Blocking: call from a background executor.
class SystemPower {
  public:
    struct Scheduled {
        std::string type;  // "poweroff" or "reboot"
        std::chrono::system_clock::time_point when;
    };

    virtual ~SystemPower() = default;
    // Schedules `type` at `when`, replacing what was scheduled.
    virtual Status scheduleShutdown(const std::string& type,
                                    std::chrono::system_clock::time_point when) = 0;
    // Ends what is scheduled; answers whether something was.
    virtual Result<bool> cancelShutdown() = 0;
    // What is scheduled now; nothing: none.
    virtual Result<std::optional<Scheduled>> scheduledShutdown() = 0;
    // Puts the system to sleep now.
    virtual Status suspend() = 0;
};

}  // namespace quorvane::platform

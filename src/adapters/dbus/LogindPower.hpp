#pragma once

#include "adapters/dbus/OwnConnection.hpp"
#include <string>

#include "platform/AwakeHolder.hpp"
#include "platform/SystemPower.hpp"

namespace quorvane::platform::dbus {

// logind on the system bus: ScheduleShutdown, CancelScheduledShutdown, the
// ScheduledShutdown property, and Suspend (not interactive: where polkit
// would ask, it refuses, and the refusal is the answer); and an
// "idle:sleep" block, held while its descriptor is open. Calls block for a
// bounded time; any thread may make them.
class LogindPower final : public SystemPower, public AwakeHolder {
  public:
    // The system bus, or the bus at `address` (a test's private one).
    explicit LogindPower(std::string address = {});

    // Whether logind is on the system bus: the composition root's question.
    static bool isPresent();

    Status scheduleShutdown(const std::string& type,
                            std::chrono::system_clock::time_point when) override;
    Result<bool> cancelShutdown() override;
    Result<std::optional<Scheduled>> scheduledShutdown() override;
    Status suspend() override;
    Result<std::unique_ptr<Hold>> hold(const std::string& why) override;

  private:
    OwnConnection connection_;
};

}  // namespace quorvane::platform::dbus

#pragma once

#include <memory>
#include <vector>

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "platform/AwakeHolder.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Keeps the display and the system from idle sleep for the chosen time. In
// a desktop session the session's own holds do it, in this process (see
// SessionAwake); on the simulated Mac, `caffeinate`. Exactly one keeping
// runs: a new one ends the one before. When the time runs out (or the
// caffeinate running ends by itself) the switch goes off; ending one this
// tweak stopped changes nothing. It ends with the program, which no longer
// holds it afterwards.
class KeepMacAwakeTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    KeepMacAwakeTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services);
    ~KeepMacAwakeTask() override;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    // The caffeinate running now, if any.
    const platform::ChildProcess* process() const { return process_.get(); }
    // Whether the session's holds are taken now.
    bool holdsSession() const { return !sessionHolds_.empty(); }

  private:
    core::RunOutcome start();
    core::RunOutcome holdSession(std::int64_t seconds);
    core::RunOutcome runCaffeinate(std::int64_t seconds);
    void stop();
    // Lets the session's holds go `seconds` from now.
    void endAfter(std::int64_t seconds);

    SystemServices& services_;
    std::shared_ptr<platform::ChildProcess> process_;
    std::vector<std::unique_ptr<platform::AwakeHolder::Hold>> sessionHolds_;
    platform::TimerToken periodEnds_;
    core::StopList::Entry atExit_;
};

}  // namespace quorvane::system

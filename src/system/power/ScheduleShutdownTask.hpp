#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/CanToggle.hpp"
#include "core/SerialExecutor.hpp"
#include "core/Tweak.hpp"
#include "system/STPrivilegedTask.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Schedules one shutdown, restart or sleep with the shutdown tool, run with
// administrator rights; the tool waits for its time, and outlives the
// program. Switching off types the cancelling command in Terminal for the
// user to confirm. A new one first ends whatever shutdown is pending (with
// administrator rights): ours, or one an earlier run or the user left;
// if that fails, none starts. When our pending tool ends (cancelled, done,
// failed) the switch goes off.
class ScheduleShutdownTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr std::string_view cancelCommand = "sudo killall shutdown";
    // Whether a shutdown is pending, whoever scheduled it; and ending them all.
    static constexpr std::string_view pendingQuery = "pgrep -x shutdown";
    static constexpr std::string_view endPendingCommand = "killall shutdown";

    ScheduleShutdownTask(core::TweakInfo info, bool core::MState::*field,
                         SystemServices& services, core::SerialExecutor& helper)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field),
          services_(services), helper_(helper) {}

    // A sleep still pending dies with the tweak.
    ~ScheduleShutdownTask() override { pendingSleep_.cancel(); }
    ScheduleShutdownTask(const ScheduleShutdownTask&) = delete;
    ScheduleShutdownTask& operator=(const ScheduleShutdownTask&) = delete;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    const STPrivilegedTask* process() const { return process_.get(); }

  private:
    // On a desktop: logind's scheduled power-off or reboot, cancelled when
    // switched off; a sleep is Quorvane's own timer, then logind's Suspend
    // (logind schedules no sleep), pending while Quorvane runs.
    core::RunOutcome runOnDesktop(platform::SystemPower& power);
    void schedule(std::vector<std::string> arguments);
    // Ends every pending shutdown, then launches this one.
    void replacePending(std::vector<std::string> arguments);
    void launch(std::vector<std::string> arguments);
    // The change under way is done: the next one asked for meanwhile goes.
    void settled();
    void ended(STPrivilegedTask& task);

    SystemServices& services_;
    core::SerialExecutor& helper_;  // where the administrator prompt waits
    std::unique_ptr<STPrivilegedTask> process_;
    // Ended by a newer one, kept until their exit is seen.
    std::vector<std::unique_ptr<STPrivilegedTask>> replaced_;
    bool busy_ = false;
    std::optional<std::vector<std::string>> queued_;
    platform::TimerToken pendingSleep_;
};

}  // namespace quorvane::system

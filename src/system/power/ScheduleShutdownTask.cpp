#include "system/power/ScheduleShutdownTask.hpp"

#include <algorithm>
#include <utility>

#include "system/power/PowerSettings.hpp"

namespace quorvane::system {

core::ConfigureForm ScheduleShutdownTask::configureView() const {
    return {{{.title = {},
              .controls = {core::FormControl::picker("", shutdownActionSetting),
                           core::FormControl::stepper("in", shutdownAmountSetting),
                           core::FormControl::picker("", shutdownPeriodSetting)},
              .footer = std::string(applyAgainFootnote)}}};
}

core::RunOutcome ScheduleShutdownTask::run() {
    if (auto* power = services_.systemPower)
        return runOnDesktop(*power);
    if (!isOn()) {
        services_.scripts.typeInTerminal(std::string(cancelCommand), id());
        return core::RunOutcome::done();
    }
    const auto amount = amountInRange(services_.defaults, shutdownAmountSetting, services_.log, id());
    if (!amount) {
        setOn(false);
        return core::RunOutcome::refused("its time is out of range; Quorvane's log says why");
    }
    schedule(shutdownArguments(shutdownActionSetting.read(services_.defaults),
                               shutdownPeriodSetting.read(services_.defaults), *amount));
    return core::RunOutcome::done();
}

core::RunOutcome ScheduleShutdownTask::runOnDesktop(platform::SystemPower& power) {
    pendingSleep_.cancel();
    if (!isOn()) {
        services_.commands.submit([this, &power] {
            auto cancelled = power.cancelShutdown();
            if (!cancelled)
                services_.log.warning(id(), cancelled.error().message);
            else if (cancelled.value())
                services_.journal.record(id(), "shutdown", "cancelled");
        });
        return core::RunOutcome::done();
    }
    const auto amount = amountInRange(services_.defaults, shutdownAmountSetting, services_.log, id());
    if (!amount) {
        setOn(false);
        return core::RunOutcome::refused("its time is out of range; Quorvane's log says why");
    }
    const auto action = shutdownActionSetting.read(services_.defaults);
    const std::chrono::seconds delay(
        *amount * (shutdownPeriodSetting.read(services_.defaults) == ShutdownPeriod::hour ? 3600 : 60));
    if (action == ShutdownAction::sleep) {
        services_.journal.record(id(), "sleep", "in " + std::to_string(delay.count()) + " s");
        pendingSleep_ = services_.mainQueue.after(delay, [this, &power] {
            setOn(false);
            services_.commands.submit([this, &power] {
                if (auto slept = power.suspend(); !slept)
                    services_.log.error(id(), slept.error().message);
            });
        });
        return core::RunOutcome::done();
    }
    const std::string type = action == ShutdownAction::restart ? "reboot" : "poweroff";
    const auto when = std::chrono::system_clock::now() + delay;
    services_.commands.submit([this, &power, type, when, delay] {
        if (auto scheduled = power.scheduleShutdown(type, when); !scheduled) {
            services_.log.error(id(), scheduled.error().message);
            services_.mainQueue.post([this] { setOn(false); });
            return;
        }
        services_.journal.record(id(), "shutdown",
                                 type + " in " + std::to_string(delay.count()) + " s");
    });
    return core::RunOutcome::done();
}

void ScheduleShutdownTask::schedule(std::vector<std::string> arguments) {
    // One change at a time: an "on" while the last one is still asking for
    // the password (or ending the pending one) waits for it, and then
    // replaces what it scheduled.
    if (busy_) {
        queued_ = std::move(arguments);
        return;
    }
    busy_ = true;
    if (process_ && process_->isRunning) {
        replacePending(std::move(arguments));
        return;
    }
    // None of ours, but one may be pending all the same: scheduled by an
    // earlier run (a command line's, which has ended) or by hand. It is
    // replaced too, so that exactly one is ever pending; looking needs no
    // rights.
    services_.scripts.readScriptThenOnMainQueue(
        std::string(pendingQuery), true,
        [this, arguments = std::move(arguments)](const ScriptResult& found) mutable {
            // pgrep names each pending one; finding none is a quiet status 1,
            // which a script's shell command counts as success.
            if (found.ok() && !found.output.empty())
                replacePending(std::move(arguments));
            else
                launch(std::move(arguments));
        });
}

void ScheduleShutdownTask::replacePending(std::vector<std::string> arguments) {
    // Ours counts as replaced from now on: its end, which may be reported
    // before the kill's own answer, must not switch us off.
    const STPrivilegedTask* replacing = process_ && process_->isRunning ? process_.get() : nullptr;
    if (replacing)
        replaced_.push_back(std::move(process_));
    services_.scripts.runScriptThenOnMainQueue(
        std::string(endPendingCommand), true, true, id(),
        [this, replacing, arguments = std::move(arguments)](const ScriptResult& result) mutable {
            if (!result.ok()) {
                // The pending one stays, and the switch with it when it is ours.
                services_.log.error(id(),
                                    "the pending shutdown could not be ended, so no new one was "
                                    "scheduled: " + result.error->message());
                const auto kept = std::ranges::find_if(
                    replaced_, [&](const auto& task) { return task.get() == replacing; });
                if (replacing && kept != replaced_.end() && (*kept)->isRunning) {
                    process_ = std::move(*kept);
                    replaced_.erase(kept);
                }
                setOn(process_ && process_->isRunning);
                settled();
                return;
            }
            launch(std::move(arguments));
        });
}

void ScheduleShutdownTask::settled() {
    busy_ = false;
    if (auto next = std::exchange(queued_, std::nullopt))
        schedule(std::move(*next));
}

void ScheduleShutdownTask::launch(std::vector<std::string> arguments) {
    const auto tool = services_.tool("/sbin/shutdown");
    helper_.submit([this, tool, arguments = std::move(arguments)]() mutable {
        // The prompt blocks until the user answers; the launch itself, and
        // the watch for the tool's end, belong to the main queue.
        const int authorized = services_.privileged.authorize(tool);
        services_.mainQueue.post([this, authorized, tool, arguments = std::move(arguments)] {
            auto task = std::make_unique<STPrivilegedTask>(services_.privileged,
                                                           services_.mainQueue, services_.log,
                                                           tool, arguments);
            task->terminationHandler = [this](STPrivilegedTask& ended) { this->ended(ended); };
            const int status = authorized != 0 ? authorized : task->launchWithAuthorization();
            if (status != 0) {
                services_.log.error(id(), "cannot schedule: " + task->description() +
                                              " did not start (status " + std::to_string(status) + ")");
                setOn(false);
            } else {
                process_ = std::move(task);
            }
            settled();
        });
    });
}

void ScheduleShutdownTask::ended(STPrivilegedTask& task) {
    // The task is still inside its own call: let go of it afterwards.
    services_.mainQueue.post([this, ended = &task] {
        std::erase_if(replaced_, [&](const auto& kept) { return kept.get() == ended; });
    });
    if (&task != process_.get())
        return;  // one that a newer one replaced
    services_.log.info(id(), "the scheduled " + task.description() + " ended with status " +
                                 std::to_string(task.terminationStatus));
    setOn(false);
}

}  // namespace quorvane::system

#include "system/power/KeepMacAwakeTask.hpp"

#include <chrono>

#include "system/power/PowerSettings.hpp"
#include "system/power/SessionAwake.hpp"

namespace quorvane::system {

KeepMacAwakeTask::KeepMacAwakeTask(core::TweakInfo info, bool core::MState::*field,
                                   SystemServices& services)
    : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {
    atExit_ = services_.stops.add([this] {
        if ((process_ && process_->isRunning()) || holdsSession())
            services_.log.warning(id(), "the Mac may sleep again: keeping it awake ends with Quorvane");
        stop();
    });
}

KeepMacAwakeTask::~KeepMacAwakeTask() {
    stop();
}

core::RunOutcome KeepMacAwakeTask::run() {
    if (!isOn()) {
        stop();
        return core::RunOutcome::done();
    }
    auto outcome = start();
    if (!outcome.isDone())
        setOn(false);
    return outcome;
}

core::ConfigureForm KeepMacAwakeTask::configureView() const {
    // A number of "Forever"s means nothing: the field waits, disabled,
    // until a period is chosen.
    return {{{.title = {},
              .controls = {core::FormControl::stepper("Keep awake", awakeAmountSetting)
                               .disabledFor(awakePeriodSetting.key, "forever"),
                           core::FormControl::picker("", awakePeriodSetting)},
              .footer = std::string(applyAgainFootnote)}}};
}

core::RunOutcome KeepMacAwakeTask::start() {
    // "On" while on (a workflow, the command line) starts afresh, with the
    // settings as they are now, and never leaves the old one running.
    stop();
    const auto amount = amountInRange(services_.defaults, awakeAmountSetting, services_.log, id());
    if (!amount)
        return core::RunOutcome::refused("its time is out of range; Quorvane's log says why");
    const auto period = awakePeriodSetting.read(services_.defaults);
    const auto seconds = awakeSeconds(period, *amount);
    if (services_.sessionAwake)
        return holdSession(period == AwakePeriod::forever ? 0 : seconds);
    return runCaffeinate(seconds);
}

core::RunOutcome KeepMacAwakeTask::holdSession(std::int64_t seconds) {
    auto held = services_.sessionAwake->hold("Keep Mac Awake is on");
    if (!held) {
        services_.log.error(id(), held.error().message);
        return core::RunOutcome::refused(held.error().message);
    }
    sessionHolds_ = std::move(held.value().holds);
    if (!held.value().sleepNotBlocked.empty())
        services_.log.info(id(), "idle sleep is not blocked: " + held.value().sleepNotBlocked);
    if (seconds > 0)
        endAfter(seconds);
    services_.journal.record(id(), "keep awake",
                             "held off " + held.value().description +
                                 (seconds > 0 ? " for " + std::to_string(seconds) + " s"
                                              : std::string(" until switched off")));
    return core::RunOutcome::done();
}

void KeepMacAwakeTask::endAfter(std::int64_t seconds) {
    periodEnds_ = services_.mainQueue.after(std::chrono::seconds(seconds), [this] {
        sessionHolds_.clear();
        services_.log.info(id(), "the time to keep awake is over");
        setOn(false);
    });
}

core::RunOutcome KeepMacAwakeTask::runCaffeinate(std::int64_t seconds) {
    const auto caffeinate = services_.tool("/usr/bin/caffeinate");
    auto started = services_.launcher.start(
        caffeinate, {"-d", "-i", "-t", std::to_string(seconds)}, [this](int status) {
            // Only the current process reports: a stopped one was dropped.
            process_.reset();
            services_.log.info(id(), "caffeinate ended (status " + std::to_string(status) + ")");
            setOn(false);
        });
    if (!started) {
        services_.log.error(id(), started.error().message);
        return core::RunOutcome::refused("caffeinate cannot be started: " + started.error().message);
    }
    process_ = std::move(started.value());
    services_.journal.record(id(), "keep awake", keepAwakeCommand(caffeinate, seconds));
    return core::RunOutcome::done();
}

void KeepMacAwakeTask::stop() {
    periodEnds_.cancel();
    sessionHolds_.clear();
    if (!process_)
        return;
    process_->terminate();
    process_.reset();
}

}  // namespace quorvane::system

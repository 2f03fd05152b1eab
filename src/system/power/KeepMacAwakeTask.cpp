#include "system/power/KeepMacAwakeTask.hpp"

#include "system/power/PowerSettings.hpp"

namespace quorvane::system {

KeepMacAwakeTask::KeepMacAwakeTask(core::TweakInfo info, bool core::MState::*field,
                                   SystemServices& services)
    : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {
    atExit_ = services_.stops.add([this] {
        if (process_ && process_->isRunning())
            services_.log.warning(id(), "the Mac may sleep again: keeping it awake ends with Quorvane");
        stop();
    });
}

KeepMacAwakeTask::~KeepMacAwakeTask() {
    stop();
}

core::RunOutcome KeepMacAwakeTask::run() {
    if (isOn())
        start();
    else
        stop();
    return core::RunOutcome::done();
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

void KeepMacAwakeTask::start() {
    // "On" while on (a workflow, the command line) starts afresh, with the
    // settings as they are now, and never leaves the old one running.
    stop();
    const auto amount = amountInRange(services_.defaults, awakeAmountSetting, services_.log, id());
    if (!amount) {
        setOn(false);
        return;
    }
    const auto seconds = awakeSeconds(awakePeriodSetting.read(services_.defaults), *amount);
    const auto command = keepAwakeCommand(services_.tool("/usr/bin/caffeinate"), seconds);
    auto started = services_.launcher.start("/bin/sh", {"-c", command}, [this](int status) {
        // Only the current process reports: a stopped one was dropped.
        process_.reset();
        services_.log.info(id(), "caffeinate ended (status " + std::to_string(status) + ")");
        setOn(false);
    });
    if (!started) {
        services_.log.error(id(), started.error().message);
        setOn(false);
        return;
    }
    process_ = std::move(started.value());
    services_.journal.record(id(), "keep awake", command);
}

void KeepMacAwakeTask::stop() {
    if (!process_)
        return;
    process_->terminate();
    process_.reset();
}

}  // namespace quorvane::system

#include "system/appearance/ToggleDarkModeTask.hpp"

#include "system/audio/VolumeScripts.hpp"

namespace quorvane::system {

ToggleDarkModeTask::ToggleDarkModeTask(core::TweakInfo info, bool core::MState::*field,
                                       SystemServices& services)
    : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {
    observer_ = services_.events.observe(platform::NotificationCenter::distributed,
                                         changedNotification, [this] { refresh(); });
}

ToggleDarkModeTask::~ToggleDarkModeTask() {
    services_.events.removeObserver(observer_);
}

core::RunOutcome ToggleDarkModeTask::run() {
    services_.commands.submit([this, on = isOn()] {
        services_.switches.change(id(), "dark mode", [&] {
            (void)awaitScript(services_.scripts.runCompiledScript(
                on ? "toggleDarkModeOn" : "toggleDarkModeOff", id()));
        });
        services_.mainQueue.post([this] { refresh(); });
    });
    return core::RunOutcome::done();
}

void ToggleDarkModeTask::refreshThen(std::function<void()> done) {
    // In light mode the key is absent and the read fails: that is light.
    services_.scripts.readScriptThenOnMainQueue(
        readCommand, true, [this, done = std::move(done)](const ScriptResult& result) {
            setOn(result.ok() && result.output == "Dark");
            if (done)
                done();
        });
}

}  // namespace quorvane::system

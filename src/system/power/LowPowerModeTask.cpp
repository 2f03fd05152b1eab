#include "system/power/LowPowerModeTask.hpp"

#include "system/power/PowerSettings.hpp"

namespace quorvane::system {

core::RunOutcome LowPowerModeTask::run() {
    // A cancelled prompt changes nothing; the next refresh shows the truth.
    services_.runChangingScript(id(), "low power mode", lowPowerCommand(isOn()), true,
                                [](const ScriptResult&) {});
    return core::RunOutcome::done();
}

void LowPowerModeTask::refreshThen(std::function<void()> done) {
    services_.scripts.readScriptThenOnMainQueue(
        std::string(lowPowerReadCommand), true,
        [this, done = std::move(done)](const ScriptResult& result) {
            setOn(result.ok() && lowPowerFrom(result.output));
            if (done)
                done();
        });
}

}  // namespace quorvane::system

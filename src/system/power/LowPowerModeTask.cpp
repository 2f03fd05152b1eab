#include "system/power/LowPowerModeTask.hpp"

#include "system/power/PowerSettings.hpp"

namespace quorvane::system {

core::RunOutcome LowPowerModeTask::run() {
    if (auto* profiles = services_.powerProfiles) {
        services_.commands.submit([this, profiles, on = isOn()] {
            services_.switches.change(id(), "low power mode", [&] {
                const std::string profile = on ? powerSaverProfile : balancedProfile;
                if (auto set = profiles->setActiveProfile(profile); !set)
                    services_.log.warning(id(), set.error().message);
                else
                    services_.journal.record(id(), "power profile", profile);
            });
            services_.mainQueue.post([this] { refresh(); });
        });
        return core::RunOutcome::done();
    }
    // A cancelled prompt changes nothing; the next refresh shows the truth.
    services_.runChangingScript(id(), "low power mode", lowPowerCommand(isOn()), true,
                                [](const ScriptResult&) {});
    return core::RunOutcome::done();
}

void LowPowerModeTask::refreshThen(std::function<void()> done) {
    if (auto* profiles = services_.powerProfiles) {
        services_.commands.submit([this, profiles, done = std::move(done)]() mutable {
            const auto profile = profiles->activeProfile();
            services_.mainQueue.post([this, on = profile && profile.value() == powerSaverProfile,
                                      done = std::move(done)] {
                setOn(on);
                if (done)
                    done();
            });
        });
        return;
    }
    services_.scripts.readScriptThenOnMainQueue(
        std::string(lowPowerReadCommand), true,
        [this, done = std::move(done)](const ScriptResult& result) {
            setOn(result.ok() && lowPowerFrom(result.output));
            if (done)
                done();
        });
}

}  // namespace quorvane::system

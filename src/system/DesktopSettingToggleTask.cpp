#include "system/DesktopSettingToggleTask.hpp"

#include "system/DesktopSettingRestore.hpp"

namespace quorvane::system {

std::vector<DesktopSettingToggleTask::Key> DesktopSettingToggleTask::presentKeys() const {
    std::vector<Key> present;
    if (auto* settings = services_.desktopSettings)
        for (const auto& key : keys_)
            if (!settings->unusableReason(key.schema, key.key))
                present.push_back(key);
    return present;
}

std::optional<std::string> DesktopSettingToggleTask::ownUnavailableReason() const {
    if (presentKeys().empty())
        return missing_;
    return std::nullopt;
}

core::RunOutcome DesktopSettingToggleTask::run() {
    if (!isAvailable())
        return unavailableHere();
    writeAll(isOn() ? "true" : "false");
    return core::RunOutcome::done();
}

void DesktopSettingToggleTask::reset() {
    if (isAvailable())
        writeAll(std::nullopt);
}

void DesktopSettingToggleTask::writeAll(std::optional<std::string> value) {
    services_.commands.submit([this, value, keys = presentKeys()] {
        auto* settings = services_.desktopSettings;
        for (const auto& [schema, key] : keys) {
            auto write = [&] {
                if (auto done = changeDesktopSetting(*settings, services_.journal, id(), schema,
                                                     key, value);
                    !done)
                    services_.log.warning(id(), done.error().message);
            };
            if (services_.switches.recorder && services_.desktopSettingRestore)
                services_.switches.recorder->around(id(), DesktopSettingRestore::kind,
                                                    *services_.desktopSettingRestore,
                                                    DesktopSettingRestore::target(schema, key),
                                                    write);
            else
                write();
        }
        services_.mainQueue.post([this] { refresh(); });
    });
}

void DesktopSettingToggleTask::refreshThen(std::function<void()> done) {
    const auto keys = presentKeys();
    const bool on = !keys.empty() &&
                    services_.desktopSettings->value(keys.front().schema, keys.front().key) ==
                        std::optional<std::string>("true");
    setOn(on);
    if (done)
        done();
}

}  // namespace quorvane::system

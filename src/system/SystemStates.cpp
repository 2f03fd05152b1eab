#include "system/SystemStates.hpp"

#include <sstream>

#include "system/appearance/Appearance.hpp"
#include "system/audio/VolumeScripts.hpp"
#include "system/power/EnergySchedule.hpp"
#include "system/power/LowPowerModeTask.hpp"
#include "system/power/PowerSettings.hpp"

namespace quorvane::system {

namespace {

using platform::Error;
using platform::Result;
using platform::Status;
using Value = std::optional<std::string>;

constexpr const char* restoreCause = "Restore";

Status statusOf(const ScriptResult& result) {
    if (result.ok())
        return platform::success();
    return Error{result.error->message()};
}

Status needsValue(const Value& value, const std::string& what) {
    if (!value)
        return Error{what + " cannot be absent"};
    return platform::success();
}

void addVolume(core::StateTable& states, SystemServices& services, const char* name,
               Channel channel) {
    states.add(
        name,
        [&services, channel](const std::string&) -> Result<Value> {
            const auto volume =
                volumeFrom(awaitScript(services.scripts.readScript(readVolumeSource(channel))));
            if (!volume)
                return Error{"the volume cannot be read"};
            return Value{std::to_string(*volume)};
        },
        [&services, channel, name](const std::string&, const Value& value) -> Status {
            if (auto given = needsValue(value, name); !given)
                return given;
            int volume = -1;
            std::istringstream in(*value);
            if (!(in >> volume) || volume < 0 || volume > 100)
                return Error{std::string(name) + " \"" + *value + "\" is not 0 to 100"};
            return statusOf(awaitScript(
                services.scripts.runAppleScript(setVolumeSource(channel, volume), restoreCause)));
        });
}

}  // namespace

std::optional<std::string> repeatEventsFrom(const std::string& schedule) {
    // "  wakeorpoweron at 08:00:00 MTWRF" under "Repeating power events:".
    std::istringstream lines(schedule);
    std::string line;
    std::string events;
    bool repeating = false;
    while (std::getline(lines, line)) {
        if (line.starts_with("Repeating power events")) {
            repeating = true;
            continue;
        }
        if (!repeating || !line.starts_with(' '))
            continue;
        std::istringstream words(line);
        std::string type, at, time, days;
        if (!(words >> type >> at >> time >> days) || at != "at")
            continue;
        events += (events.empty() ? "" : " ") + type + " " + days + " " + time;
    }
    if (events.empty())
        return std::nullopt;
    return events;
}

void addSystemStates(core::StateTable& states, SystemServices& services,
                     platform::BluetoothPower& bluetooth, platform::Browsers& browsers) {
    addVolume(states, services, "output volume", Channel::output);
    addVolume(states, services, "input volume", Channel::input);

    states.add(
        "dark mode",
        [&services](const std::string&) -> Result<Value> {
            auto read = Appearance(services).read();
            if (!read)
                return read.error();
            return Value{read.value()};
        },
        [&services](const std::string&, const Value& value) -> Status {
            if (auto absent = needsValue(value, "the appearance"); !absent)
                return absent;
            return Appearance(services).write(*value, restoreCause);
        });

    states.add(
        "low power mode",
        // On a desktop, the profile itself, so that the one before comes back.
        [&services](const std::string&) -> Result<Value> {
            if (auto* profiles = services.powerProfiles) {
                auto profile = profiles->activeProfile();
                if (!profile)
                    return profile.error();
                return Value{profile.value()};
            }
            const auto read = awaitScript(
                services.scripts.readScript(std::string(lowPowerReadCommand), true));
            return Value{core::onOffText(read.ok() && lowPowerFrom(read.output))};
        },
        [&services](const std::string&, const Value& value) -> Status {
            if (auto* profiles = services.powerProfiles) {
                if (auto absent = needsValue(value, "the power profile"); !absent)
                    return absent;
                const std::string profile =
                    *value == "on"    ? LowPowerModeTask::powerSaverProfile
                    : *value == "off" ? LowPowerModeTask::balancedProfile
                                      : *value;
                return profiles->setActiveProfile(profile);
            }
            if (value != "on" && value != "off")
                return Error{"low power mode is \"on\" or \"off\""};
            return statusOf(awaitScript(
                services.scripts.runScript(lowPowerCommand(value == "on"), true, true, restoreCause)));
        });

    states.add(
        "energy schedule",
        [&services](const std::string&) -> Result<Value> {
            const auto read = awaitScript(
                services.scripts.readScript("pmset -g sched", true));
            if (!read.ok())
                return Error{"the energy schedule cannot be read: " + read.error->message()};
            return repeatEventsFrom(read.output);
        },
        [&services](const std::string&, const Value& value) -> Status {
            const std::string command = value ? "sudo pmset repeat " + *value
                                              : std::string(energyCancelCommand);
            return statusOf(awaitScript(services.scripts.runScript(command, true, true, restoreCause)));
        });

    states.add(
        "Bluetooth power",
        [&bluetooth](const std::string&) -> Result<Value> {
            return Value{core::onOffText(bluetooth.isPowered())};
        },
        [&bluetooth](const std::string&, const Value& value) -> Status {
            if (value != "on" && value != "off")
                return Error{"Bluetooth power is \"on\" or \"off\""};
            return bluetooth.setPowered(value == "on");
        });

    states.add(
        "default browser",
        [&browsers](const std::string& scheme) -> Result<Value> {
            if (scheme.empty())
                return Error{"which scheme's browser?"};
            return browsers.defaultFor(scheme);
        },
        [&browsers](const std::string& scheme, const Value& value) -> Status {
            if (auto given = needsValue(value, "the default browser"); !given)
                return given;
            return browsers.setDefault(scheme, *value);
        });
}

}  // namespace quorvane::system

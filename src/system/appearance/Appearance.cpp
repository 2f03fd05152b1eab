#include "system/appearance/Appearance.hpp"

#include "system/DesktopSettingRestore.hpp"
#include "system/audio/VolumeScripts.hpp"

namespace quorvane::system {

platform::Result<std::string> Appearance::read() const {
    if (auto* desktop = services_.desktopSettings) {
        if (auto value = desktop->value(schema, key))
            return *value;
        return platform::Error{std::string("the desktop's ") + key + " cannot be read"};
    }
    // In light mode the key is absent and the read fails: that is light.
    const auto read = awaitScript(services_.scripts.readScript(readCommand, true));
    return std::string(read.ok() && read.output == "Dark" ? "dark" : "light");
}

platform::Status Appearance::write(const std::string& value, const std::string& cause) {
    if (auto* desktop = services_.desktopSettings) {
        std::string scheme = value;
        if (value == "dark" || value == "light")
            scheme = value == "dark" ? "'prefer-dark'" : "'default'";
        return changeDesktopSetting(*desktop, services_.journal, cause, schema, key, scheme);
    }
    if (value != "dark" && value != "light")
        return platform::Error{"the appearance is \"dark\" or \"light\""};
    const auto ran = awaitScript(services_.scripts.runCompiledScript(
        value == "dark" ? "toggleDarkModeOn" : "toggleDarkModeOff", cause));
    if (ran.ok())
        return platform::success();
    return platform::Error{ran.error->message()};
}

}  // namespace quorvane::system

#include "system/LocationSetterTask.hpp"

#include <memory>

namespace quorvane::system {

std::string expandTilde(const std::string& path, const std::string& home) {
    if (path == "~")
        return home;
    if (path.starts_with("~/"))
        return home + path.substr(1);
    return path;
}

void LocationSetter::read(std::function<void(std::string)> done) const {
    services_.commands.submit([this, done = std::move(done)] {
        DefaultsRunner runner(services_.shell, services_.log, services_.journal, cause_,
                              services_.restoreLog);
        std::string folder = runner.readString(defaults_);
        if (expandsTilde_ && folder.find('~') != std::string::npos)
            folder = expandTilde(folder, services_.homeDirectory);
        services_.mainQueue.post([done, folder] { done(folder); });
    });
}

void LocationSetter::apply(const std::string& folder) const {
    services_.commands.submit([this, folder] {
        DefaultsRunner runner(services_.shell, services_.log, services_.journal, cause_,
                              services_.restoreLog);
        runner.writeString(defaults_, folder);
        if (!restart_.empty())
            services_.scripts.restartApp(restart_, false, cause_);
    });
}

void LocationSetter::reset() const {
    services_.commands.submit([this] {
        DefaultsRunner(services_.shell, services_.log, services_.journal, cause_,
                       services_.restoreLog)
            .remove(defaults_);
    });
}

void addLocationSetterTweaks(core::TweakFactory& factory, SystemServices& services) {
    factory.add("SetScreenshotLocationTask", [&services](const core::CatalogueRow& row) {
        return std::make_shared<LocationSetterTask>(
            row.info,
            LocationSetter(services, row.info.id, {"", "com.apple.screencapture", "location"},
                           "SystemUIServer", true));
    }, {platform::Port::preferences});
    factory.add("SetSimulatorScreenshotLocationTask", [&services](const core::CatalogueRow& row) {
        return std::make_shared<LocationSetterTask>(
            row.info,
            LocationSetter(services, row.info.id,
                           {"", "com.apple.iphonesimulator", "ScreenShotSaveLocation"}, "", false));
    }, {platform::Port::preferences});
}

}  // namespace quorvane::system

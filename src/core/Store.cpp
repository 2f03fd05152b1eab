#include "core/Store.hpp"

namespace quorvane::core {

Store::Store(platform::UserDefaults& defaults, Persistor& persistor)
    : hideMainWindowAtLaunch(hideMainWindowAtLaunchSetting.read(defaults)),
      showsSimulatedTweaks(showsSimulatedTweaksSetting.read(defaults)) {
    showsSimulatedTweaksWriter_ = showsSimulatedTweaks.subscribe([&defaults](const bool& shows) {
        showsSimulatedTweaksSetting.write(defaults, shows);
    });
    hideMainWindowAtLaunchWriter_ = hideMainWindowAtLaunch.subscribe([&defaults](const bool& hide) {
        hideMainWindowAtLaunchSetting.write(defaults, hide);
    });
    preferenceRecord_ = persistor.registerPublished(std::string(preferenceKey), preference);
    pStateRecord_ = persistor.registerPublished(std::string(pStateKey), pState);
}

}  // namespace quorvane::core

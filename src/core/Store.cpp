#include "core/Store.hpp"

namespace quorvane::core {

Store::Store(platform::UserDefaults& defaults, Persistor& persistor)
    : hideMainWindowAtLaunch(
          defaults.boolValue(std::string(hideMainWindowAtLaunchKey)).value_or(true)) {
    hideMainWindowAtLaunchWriter_ = hideMainWindowAtLaunch.subscribe([&defaults](const bool& hide) {
        defaults.set(std::string(hideMainWindowAtLaunchKey), hide);
    });
    preferenceRecord_ = persistor.registerPublished(std::string(preferenceKey), preference);
    pStateRecord_ = persistor.registerPublished(std::string(pStateKey), pState);
}

}  // namespace quorvane::core

#include "system/SystemTweaks.hpp"

#include "system/CommandTweaks.hpp"
#include "system/LocationSetterTask.hpp"
#include "system/PreferenceTweaks.hpp"
#include "system/UnquarantineTask.hpp"

namespace quorvane::system {

void addSystemTweaks(core::TweakFactory& factory, SystemServices& services) {
    addCommandTweaks(factory, services);
    addPreferenceTweaks(factory, services);
    addLocationSetterTweaks(factory, services);
    addUnquarantineTask(factory, services);
}

}  // namespace quorvane::system

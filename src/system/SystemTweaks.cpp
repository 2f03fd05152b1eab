#include "system/SystemTweaks.hpp"

#include <memory>

#include "system/CommandTweaks.hpp"
#include "system/LocationSetterTask.hpp"
#include "system/PreferenceTweaks.hpp"
#include "system/UnquarantineTask.hpp"
#include "system/apps/QuitAppsTask.hpp"
#include "system/appearance/AutoHideMenuBarTask.hpp"
#include "system/appearance/ToggleDarkModeTask.hpp"
#include "system/audio/MuteTask.hpp"
#include "system/bluetooth/EnableBluetoothTask.hpp"
#include "system/browsers/DefaultBrowserTweak.hpp"
#include "system/browsers/OpenInBrowserTweak.hpp"
#include "system/color/ColorPickerTask.hpp"
#include "system/power/EnergySaverTask.hpp"
#include "system/power/KeepMacAwakeTask.hpp"
#include "system/power/LowPowerModeTask.hpp"
#include "system/power/ScheduleShutdownTask.hpp"

namespace quorvane::system {

void addSystemTweaks(core::TweakFactory& factory, SystemServices& services,
                     SystemDevices devices) {
    addCommandTweaks(factory, services);
    addPreferenceTweaks(factory, services);
    addLocationSetterTweaks(factory, services);
    addUnquarantineTask(factory, services);
    auto& audio = devices.audio;
    factory.add("MuteTask", [&services, &audio](const core::CatalogueRow& row)
                    -> std::shared_ptr<core::Tweak> {
        auto field = core::mStateField(row);
        return field ? std::make_shared<MuteTask>(row.info, field, services, audio) : nullptr;
    }, {platform::Port::soundVolume});
    factory.add("MuteMicrophoneTask", [&services, &audio](const core::CatalogueRow& row)
                    -> std::shared_ptr<core::Tweak> {
        auto field = core::mStateField(row);
        return field ? std::make_shared<MuteMicrophoneTask>(row.info, field, services, audio)
                     : nullptr;
    }, {platform::Port::soundVolume});
    factory.add("AutoHideMenuBarTask", core::mToggleMaker<AutoHideMenuBarTask>(services), {platform::Port::scripting});
    factory.add("ToggleDarkModeTask", core::mToggleMaker<ToggleDarkModeTask>(services), {platform::Port::desktopSettings});
    factory.add("DefaultBrowserTweak", [&services, devices](const core::CatalogueRow& row) {
        return std::make_shared<DefaultBrowserTweak>(row.info, services, devices.browsers,
                                                     devices.browsersHelper);
    }, {platform::Port::browsers});
    factory.add("OpenInBrowserTweak", [&services, devices](const core::CatalogueRow& row) {
        return std::make_shared<OpenInBrowserTweak>(row.info, services, devices.browsers,
                                                    devices.browsersHelper);
    }, {platform::Port::browsers});
    factory.add("EnableBluetoothTask", [&services, devices](const core::CatalogueRow& row)
                    -> std::shared_ptr<core::Tweak> {
        auto field = core::mStateField(row);
        return field ? std::make_shared<EnableBluetoothTask>(row.info, field, services,
                                                             devices.bluetooth,
                                                             devices.bluetoothHelper)
                     : nullptr;
    }, {platform::Port::bluetooth});
    factory.add("ColorPickerTask", [&services, devices](const core::CatalogueRow& row) {
        return std::make_shared<ColorPickerTask>(row.info, services, devices.colorSampler);
    }, {platform::Port::screen});
    factory.add("QuitAppsTask", [&services, devices](const core::CatalogueRow& row) {
        return std::make_shared<QuitAppsTask>(row.info, services, devices.applications);
    }, {platform::Port::desktop});
    factory.add("EnergySaverTask", core::mToggleMaker<EnergySaverTask>(services), {platform::Port::macTools});
    factory.add("KeepMacAwakeTask", core::mToggleMaker<KeepMacAwakeTask>(services), {platform::Port::idleInhibit});
    factory.add("LowPowerModeTask", core::mToggleMaker<LowPowerModeTask>(services), {platform::Port::powerProfiles});
    factory.add("ScheduleShutdownTask", [&services, devices](const core::CatalogueRow& row)
                    -> std::shared_ptr<core::Tweak> {
        auto field = core::mStateField(row);
        return field ? std::make_shared<ScheduleShutdownTask>(row.info, field, services,
                                                              devices.powerHelper)
                     : nullptr;
    }, {platform::Port::systemPower});
}

}  // namespace quorvane::system

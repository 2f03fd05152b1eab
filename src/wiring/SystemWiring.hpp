#pragma once

#include "wiring/BackgroundDrain.hpp"
#include "wiring/DesktopBluetooth.hpp"
#include "wiring/DesktopServicesOnDbus.hpp"
#include "system/DesktopSettingRestore.hpp"
#include "wiring/DesktopSoundVolume.hpp"
#include "wiring/SharedServices.hpp"
#include "core/SerialExecutor.hpp"
#include "core/StopList.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "adapters/qt/QtColorSampler.hpp"
#include "simmac/SimBrowsers.hpp"
#include "simmac/SimScripting.hpp"
#include "system/ScriptRunner.hpp"
#include "system/PreferenceRestore.hpp"
#include "system/SystemServices.hpp"
#include "system/power/SessionAwake.hpp"

namespace quorvane::app {

// The system folder: its adapters (AppleScript is the simulated Mac's on
// this host), the script runner, the executor where commands wait and the
// helpers where the tweaks' longer sequences run.
class SystemWiring {
  public:
    explicit SystemWiring(SharedServices& shared);

    system::SystemServices& services() { return services_; }
    system::ScriptRunner& scriptRunner() { return scriptRunner_; }
    // Puts preference keys back for a restore.
    core::RestoreKind& preferenceRestore() { return preferenceRestore_; }
    // The desktop's settings as the restore log keeps them; none without a
    // desktop session.
    core::RestoreKind* desktopSettingRestore() { return desktopSettingRestore_.get(); }
    // Puts the system switches back (SystemStates.hpp).
    core::StateTable& states() { return states_; }

    void addTweaks(core::TweakFactory& factory);
    void addWorkers(BackgroundDrain& drain);
    // Once the catalogue exists: a reset of a whole component refreshes its
    // category.
    void setRefreshAll(std::function<void(core::Category)> refreshAll);
    void stop();

  private:
    platform::RunningApplications& applications_;
    DesktopSoundVolume volume_;
    DesktopBluetooth bluetooth_;
    // The desktop's browsers in an X11 session, else the simulated Mac's.
    std::unique_ptr<platform::Browsers> browsers_;
    platform::sim::SimScripting scripting_;
    system::ScriptRunner scriptRunner_;
    core::SerialExecutor commands_{"Commands"};
    core::SerialExecutor audio_{"Audio"};
    core::SerialExecutor bluetoothHelper_{"Bluetooth"};
    core::SerialExecutor browsersHelper_{"Browsers"};
    core::SerialExecutor powerHelper_{"Power"};
    core::StopList stops_;
    // The frozen-screen sampler on a real desktop, the simulated Mac's
    // otherwise; the Qt one, when used, for the drain to wait on.
    std::unique_ptr<platform::ColorSampler> colorSampler_;
    std::unique_ptr<platform::Trash> trash_;  // a desktop session's
    DesktopPowerProfiles powerProfiles_;
    DesktopScreenSaver screenSaver_;
    DesktopRemovableDisks removableDisks_;
    DesktopSystemPower systemPower_;
    std::unique_ptr<system::DesktopSettingRestore> desktopSettingRestore_;
    std::unique_ptr<system::SessionAwake> sessionAwake_;  // a desktop session's
    platform::qt::QtColorSampler* qtColorSampler_ = nullptr;
    core::StateTable states_{"system"};
    system::SystemServices services_;
    system::PreferenceRestore preferenceRestore_;
};

}  // namespace quorvane::app

#pragma once

#include <filesystem>
#include <memory>

#include "core/Persistor.hpp"
#include "core/SerialExecutor.hpp"
#include "core/SoundPlayer.hpp"
#include "core/Store.hpp"
#include "core/TweakActions.hpp"
#include "core/TweakNotifications.hpp"
#include "core/TweaksHandler.hpp"
#include "core/automation/AutomationManager.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "core/shortcuts/ShortcutService.hpp"
#include "core/workflows/WorkflowService.hpp"
#include "platform/HotkeyRegistry.hpp"
#include "platform/posix/FileBlobStore.hpp"
#include "platform/posix/FileJournal.hpp"
#include "platform/posix/JsonFileUserDefaults.hpp"
#include "platform/posix/PosixProcessLauncher.hpp"
#include "platform/posix/PosixShellRunner.hpp"
#include "platform/posix/StderrLog.hpp"
#include "platform/posix/XdgAutostart.hpp"
#include "platform/posix/XdgDirectories.hpp"
#include "platform/qt/QtMainQueue.hpp"
#include "platform/qt/QtPasteboard.hpp"
#include "platform/qt/SoundModule.hpp"
#include "platform/sim/SimDesktop.hpp"
#include "platform/sim/SimHome.hpp"
#include "platform/sim/SimHotkeys.hpp"
#include "platform/sim/SimIntentDonations.hpp"
#include "platform/sim/SimScripting.hpp"
#include "platform/sim/SimSystemEvents.hpp"
#include "system/CommandTweaks.hpp"
#include "system/PreferenceTweaks.hpp"
#include "system/ScriptRunner.hpp"
#include "triggers/finder/FinderActions.hpp"
#include "triggers/finder/FinderContextMenuTask.hpp"
#include "triggers/scripts/ScriptExecution.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"

namespace quorvane::app {

// Every permission request is journaled, then shown by the panel once the
// front end has one.
class PermissionRequests final : public platform::PermissionAsker {
  public:
    explicit PermissionRequests(platform::Journal& journal) : journaled_(journal) {}
    void ask(platform::Permission permission) override {
        journaled_.ask(permission);
        if (panel)
            panel->ask(permission);
    }
    platform::PermissionAsker* panel = nullptr;

  private:
    platform::sim::SimPermissionAsker journaled_;
};

// Alerts go to the front end's panel once there is one; a command run
// without windows writes them to the log instead.
class AlertRequests final : public platform::Alerts {
  public:
    explicit AlertRequests(platform::Log& log) : log_(log) {}
    void show(const platform::Alert& alert) override {
        if (panel)
            panel->show(alert);
        else
            log_.info("Alert", alert.message + (alert.informativeText.empty()
                                                    ? std::string()
                                                    : ": " + alert.informativeText));
    }
    platform::Alerts* panel = nullptr;

  private:
    platform::Log& log_;
};

// Where the program keeps its files on this host.
struct AppPaths {
    std::filesystem::path applicationSupport;  // <data home>/com.tarnvell.Quorvane
    std::filesystem::path records;             // .../Default: one JSON blob per record
    std::filesystem::path userDefaults;  // <config home>/com.tarnvell.Quorvane/UserDefaults.json
    std::filesystem::path journal;       // <state home>/com.tarnvell.Quorvane/journal.jsonl
    std::filesystem::path simulatedMac;  // $QUORVANE_SIM_HOME or <data home>/quorvane-sim
    std::filesystem::path cache;         // <cache home>/com.tarnvell.Quorvane: made again at will

    static AppPaths from(const platform::posix::XdgDirectories& directories);
};

// The composition root: the one place that picks adapters. Everything it
// builds sees only ports. Construct after the Qt application object, on the
// main thread. On this host the macOS-only services are the simulated Mac's.
class AppServices {
  public:
    explicit AppServices(const platform::posix::XdgDirectories& directories);
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    const AppPaths& paths() const { return paths_; }
    platform::Log& log() { return log_; }
    platform::MainQueue& mainQueue() { return mainQueue_; }
    platform::Journal& journal() { return journal_; }
    platform::UserDefaults& userDefaults() { return userDefaults_; }
    platform::LoginItems& loginItems() { return loginItems_; }
    platform::Updater& updater() { return updater_; }
    platform::Workspace& workspace() { return workspace_; }
    platform::ActivationPolicy& activationPolicy() { return activationPolicy_; }
    const platform::sim::SimHome& simulatedMac() const { return simHome_; }
    // The front end's permission panel, once it exists.
    void setPermissionPanel(platform::PermissionAsker* panel) { permissionAsker_.panel = panel; }
    void setAlertPanel(platform::Alerts* panel) { alerts_.panel = panel; }
    triggers::ScriptTaskService& scriptTasks() { return scriptTasks_; }
    triggers::FinderActionPerformer& finderActions() { return finderActions_; }
    core::Persistor& persistor() { return persistor_; }
    core::Store& store() { return store_; }
    const core::Catalogue& catalogue() const { return catalogue_; }
    core::TweaksHandler& tweaksHandler() { return tweaksHandler_; }
    core::TweakActions& tweakActions() { return tweakActions_; }
    core::TweakNotifications& notifications() { return notifications_; }
    system::SystemServices& systemServices() { return systemServices_; }
    // The simulated Mac's notification centers, where `quorvane sim post`
    // delivers system events.
    platform::sim::SimSystemEvents& simulatedEvents() { return systemEvents_; }
    // Exists once start() has run.
    core::AutomationManager* automation() { return automation_.get(); }
    core::WorkflowService& workflows() { return workflows_; }
    // The session's global hotkeys, once useSessionHotkeys() has chosen them.
    platform::Hotkeys* hotkeys() { return hotkeys_.get(); }
    core::ShortcutService* shortcuts() { return shortcuts_.get(); }
    // The simulated Mac's keyboard, when shortcuts live there.
    platform::sim::SimHotkeys* simulatedKeyboard() {
        return dynamic_cast<platform::sim::SimHotkeys*>(hotkeys_.get());
    }

    // For the program with its windows: global shortcuts are grabbed in the
    // X11 session when there is one, else on the simulated Mac's keyboard.
    // Commands run without windows leave the session's keys alone.
    void useSessionHotkeys();

    // Start-up work that waits for the event loop: persisted toggles are
    // applied again a moment after launch.
    void start();
    // For a command run without a running instance: blocks until the work
    // the tweaks started in the background, and what it posted back to the
    // main queue, has finished.
    void finishBackgroundWork();
    // Normal termination: undo what must not outlive the program, then save
    // every record.
    void terminate();

    static constexpr std::chrono::milliseconds applyPersistedTogglesDelay{2000};

  private:
    core::TweakFactory makeFactory();

    platform::posix::XdgDirectories directories_;
    AppPaths paths_;
    platform::posix::StderrLog log_;
    platform::posix::JsonFileUserDefaults userDefaults_;
    std::unique_ptr<platform::posix::FileBlobStore> records_;
    platform::qt::QtMainQueue mainQueue_;
    core::Persistor persistor_;
    core::Store store_;
    platform::posix::FileJournal journal_;
    platform::sim::SimHome simHome_;
    platform::posix::PosixShellRunner shell_;
    platform::sim::SimScripting scripting_;
    platform::posix::PosixProcessLauncher launcher_;
    PermissionRequests permissionAsker_;
    platform::sim::SimWorkspace workspace_;
    platform::qt::QtPasteboard pasteboard_;
    platform::qt::SoundModule sound_;
    platform::sim::SimIntentDonations intentDonations_;
    platform::sim::SimSystemEvents systemEvents_;
    platform::posix::XdgAutostart loginItems_;
    platform::posix::PackageManagerUpdater updater_;
    platform::sim::SimActivationPolicy activationPolicy_;
    system::ScriptRunner scriptRunner_;
    system::SystemServices systemServices_;
    AlertRequests alerts_;
    triggers::ScriptExecution scriptExecution_;
    triggers::ScriptTaskService scriptTasks_;
    triggers::FinderActionPerformer finderActions_;
    core::TweakFactory factory_;
    core::Catalogue catalogue_;
    core::TweaksHandler tweaksHandler_;
    core::TweakNotifications notifications_;
    core::SoundPlayer soundPlayer_;
    core::TweakActions tweakActions_;
    core::WorkflowService workflows_;
    std::unique_ptr<platform::HotkeyRegistry> hotkeys_;
    std::unique_ptr<core::ShortcutService> shortcuts_;
    std::unique_ptr<core::AutomationManager> automation_;
    // Last, so it stops first: its jobs use the tweaks and services above.
    core::SerialExecutor commands_{"Commands"};
};

}  // namespace quorvane::app

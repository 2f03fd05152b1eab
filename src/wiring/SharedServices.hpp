#pragma once

#include "platform/ActsOn.hpp"
#include "adapters/qt/DesktopSettingsModule.hpp"

#include <filesystem>
#include <memory>

#include "wiring/AppPaths.hpp"
#include "wiring/DesktopSession.hpp"
#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "platform/Alerts.hpp"
#include "adapters/posix/FileBlobStore.hpp"
#include "adapters/posix/FileJournal.hpp"
#include "adapters/posix/FileRestoreLog.hpp"
#include "core/restore/ChangeRecorder.hpp"
#include "adapters/posix/JsonFileUserDefaults.hpp"
#include "adapters/posix/PosixProcessLauncher.hpp"
#include "adapters/posix/PosixShellRunner.hpp"
#include "adapters/posix/StderrLog.hpp"
#include "adapters/posix/XdgAutostart.hpp"
#include "adapters/posix/XdgDirectories.hpp"
#include "adapters/qt/QtMainQueue.hpp"
#include "adapters/qt/QtPasteboard.hpp"
#include "adapters/posix/SoundHelper.hpp"
#include "adapters/qt/X11Module.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimHome.hpp"
#include "simmac/SimPrivilegedRunner.hpp"
#include "simmac/SimIntentDonations.hpp"
#include "platform/SystemEventCenter.hpp"

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

// The adapters and records every tweak folder shares, chosen for this host
// (on any host but macOS, the macOS-only ones are the simulated Mac's).
// Members are built in the order they are declared: later ones take
// earlier ones. Construct after the Qt application object, on the main
// thread.
struct SharedServices {
    // Read-only: for commands that only show things. Records load but are
    // never saved or moved aside, and the simulated Mac is not set up.
    enum class Access { readWrite, readOnly };

    SharedServices(const platform::posix::XdgDirectories& xdg, Access access);
    SharedServices(const SharedServices&) = delete;
    SharedServices& operator=(const SharedServices&) = delete;

    // The state folder (beside the journal) as a store of the settings a
    // folder must put back after a dead instance; none in a read-only run
    // or when the folder cannot be used (logged for `user`).
    std::unique_ptr<platform::BlobStore> openStateStore(const std::string& user);

    Access accessMode;
    platform::posix::XdgDirectories directories;
    AppPaths paths;
    std::filesystem::path program;  // this executable, for autostart and links
    platform::posix::StderrLog log;
    platform::posix::JsonFileUserDefaults userDefaults;
    std::unique_ptr<platform::posix::FileBlobStore> records;  // none when the folder cannot be made
    platform::qt::QtMainQueue mainQueue;
    core::Persistor persistor;
    core::Store store;  // loads the records
    platform::posix::FileJournal journal;
    // What the tweaks changed, with what it replaced, until put back.
    platform::posix::FileRestoreLog restoreLog;
    core::ChangeRecorder changes;  // into restoreLog
    platform::sim::SimHome simHome;
    platform::posix::PosixShellRunner shell;  // commands run against the simulated Mac
    platform::posix::PosixProcessLauncher launcher;  // with the simulated Mac's tools first
    platform::sim::SimPrivilegedRunner privileged;
    PermissionRequests permissionAsker;
    AlertRequests alerts;
    platform::sim::SimWorkspace workspace;
    platform::qt::QtPasteboard qtPasteboard;
    platform::sim::SimPasteboard simPasteboard;
    // The X11 session's adapters, loaded where there is one.
    platform::qt::X11Module x11;
    // Other applications' windows and the input streams.
    DesktopSession desktop;
    // The clipboard of the desktop in use: the X11 session's, else the
    // simulated Mac's.
    platform::Pasteboard& pasteboard;
    // The desktop's own settings, used in a desktop session (a module,
    // loaded on the first question).
    platform::qt::DesktopSettingsModule desktopSettings;
    // Which adapter each port got here, for the tweaks to say where they act.
    platform::AdapterChoices adapterChoices;
    platform::posix::SoundHelper sound;
    platform::sim::SimIntentDonations intentDonations;
    platform::SystemEventCenter systemEvents;
    platform::posix::XdgAutostart loginItems;
    platform::posix::PackageManagerUpdater updater;
    platform::sim::SimActivationPolicy activationPolicy;
};

}  // namespace quorvane::app

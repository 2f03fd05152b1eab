#pragma once

#include "platform/DesktopSettings.hpp"
#include "platform/PowerProfiles.hpp"
#include "platform/RemovableDisks.hpp"
#include "platform/ScreenSaver.hpp"
#include "platform/SystemPower.hpp"
#include "platform/Trash.hpp"

#include <filesystem>
#include <functional>
#include <string>

#include "core/Category.hpp"
#include "core/Persistor.hpp"
#include "core/SerialExecutor.hpp"
#include "core/StopList.hpp"
#include "core/restore/ChangeRecorder.hpp"
#include "core/Store.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/PrivilegedRunner.hpp"
#include "platform/ProcessLauncher.hpp"
#include "platform/RestoreLog.hpp"
#include "platform/ShellRunner.hpp"
#include "platform/SystemEvents.hpp"
#include "platform/UserDefaults.hpp"
#include "platform/Workspace.hpp"
#include "system/ScriptRunner.hpp"

namespace quorvane::system {

class SessionAwake;

// What the system tweaks act through.
struct SystemServices {
    core::Store& store;
    platform::UserDefaults& defaults;  // main thread only
    ScriptRunner& scripts;
    platform::ShellRunner& shell;
    core::SerialExecutor& commands;  // where plain shell commands wait
    platform::Pasteboard& pasteboard;
    platform::Workspace& workspace;
    platform::Journal& journal;
    platform::Log& log;
    platform::MainQueue& mainQueue;
    platform::SystemEvents& events;  // the system's notifications
    core::Persistor& persistor;
    platform::PrivilegedRunner& privileged;  // tools run with administrator rights
    platform::ProcessLauncher& launcher;     // programs the tweaks keep running
    core::StopList& stops;                   // what ends with the program
    std::string bundleIdentifier;
    // The user's home folder, for "~" in stored paths.
    std::string homeDirectory;
    // Refreshes every tweak of a category on the main queue (after a reset
    // of a whole system component). Set once the catalogue exists.
    std::function<void(core::Category)> refreshAll;
    // Where the system's tools are: empty on a Mac, where a tool is its
    // path; elsewhere the simulated Mac's bin/, where its stand-in is.
    std::filesystem::path toolFolder{};
    // Where lasting changes are kept with what they replaced, to be put
    // back; none: they are not kept.
    platform::RestoreLog* restoreLog = nullptr;
    // The same, for the system switches of SystemStates.hpp.
    core::StateChanges switches{};
    // Reads preference domains for the changes made other than by
    // `defaults` (a domain's file moved); none: not kept.
    core::RestoreKind* preferences = nullptr;
    // The desktop's own settings, in a desktop session; none: the tweaks
    // that would use them act on the simulated Mac.
    platform::DesktopSettings* desktopSettings = nullptr;
    // The desktop's trash, in a desktop session; none: the simulated Mac's.
    platform::Trash* trash = nullptr;
    // The system's power profiles, in a desktop session; none: the
    // simulated Mac's power tool.
    platform::PowerProfiles* powerProfiles = nullptr;
    // The session's screen saver, in a desktop session; none: the
    // simulated Mac's screen saver application.
    platform::ScreenSaver* screenSaver = nullptr;
    // The removable disks, in a desktop session; none: the simulated Mac's
    // Finder ejects them.
    platform::RemovableDisks* removableDisks = nullptr;
    // logind's power-off schedule and sleep, in a desktop session; none:
    // the simulated Mac's shutdown tool.
    platform::SystemPower* systemPower = nullptr;
    // What keeps the session awake, in a desktop session; none: the
    // simulated Mac's caffeinate.
    SessionAwake* sessionAwake = nullptr;
    // The restore log's "desktop setting" kind, in a desktop session.
    core::RestoreKind* desktopSettingRestore = nullptr;

    // The program to run for the system's tool `path` ("/sbin/shutdown").
    std::string tool(std::string_view path) const {
        if (toolFolder.empty())
            return std::string(path);
        return (toolFolder / std::filesystem::path(path).filename()).string();
    }
    // Makes a change to a preference other than through `defaults` (a
    // script, a domain's file moved), kept with what it replaced. Off the
    // script runner.
    void changePreference(const std::string& cause, const std::string& target,
                          const std::function<void()>& change) const;
    // Runs a shell command for a tweak on this thread, journaled; a failure
    // is logged.
    void runCommand(const std::string& cause, const std::string& command);
    // Runs a script that changes the switch `target` in turn on `commands`,
    // kept so; its outcome to `done` on the main queue.
    void runChangingScript(std::string cause, std::string target, std::string text, bool asAdmin,
                           std::function<void(const ScriptResult&)> done);
};

// Runs a shell command for a tweak on the commands executor, journaled; the
// outcome is ignored, as the one-shot tweaks do.
void runCommandInBackground(SystemServices& services, std::string cause, std::string command);

}  // namespace quorvane::system

#pragma once

#include <functional>
#include <string>

#include "core/SerialExecutor.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/ShellRunner.hpp"
#include "platform/Workspace.hpp"
#include "system/ScriptRunner.hpp"

namespace quorvane::system {

// What the system tweaks act through.
struct SystemServices {
    ScriptRunner& scripts;
    platform::ShellRunner& shell;
    core::SerialExecutor& commands;  // where plain shell commands wait
    platform::Pasteboard& pasteboard;
    platform::Workspace& workspace;
    platform::Journal& journal;
    platform::Log& log;
    platform::MainQueue& mainQueue;
    std::string bundleIdentifier;
    // The user's home folder, for "~" in stored paths.
    std::string homeDirectory;
    // Refreshes every tweak of a category on the main queue (after a reset
    // of a whole system component). Set once the catalogue exists.
    std::function<void(core::Category)> refreshAll;
};

// Runs a shell command for a tweak on the commands executor, journaled; the
// outcome is ignored, as the one-shot tweaks do.
void runCommandInBackground(SystemServices& services, std::string cause, std::string command);

// The command line that removes the quarantine attribute from `path`, the
// path quoted for the shell and never taken for an option.
std::string unquarantineCommand(const std::string& path);

struct UnquarantineMessage {
    std::string text;
    std::string symbol;
};
UnquarantineMessage unquarantineMessage(const ScriptResult& result);

// The one-shot tweaks that are a command or two: reset Apple Events, clear
// the clipboard, eject disks, empty the trash, open the screen saver,
// restore Xcode's defaults, and unquarantine (whose work is in its
// configure view).
void addCommandTweaks(core::TweakFactory& factory, SystemServices& services);

// UnquarantineTask's action: runs the command with administrator rights and
// hands the message to `done` on the main queue.
void unquarantine(SystemServices& services, const std::string& path,
                  std::function<void(UnquarantineMessage)> done);

}  // namespace quorvane::system

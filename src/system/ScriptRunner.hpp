#pragma once

#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include "core/SerialExecutor.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/PermissionAsker.hpp"
#include "platform/Scripting.hpp"
#include "system/ScriptError.hpp"

namespace quorvane::system {

struct ScriptResult {
    std::string output;
    std::optional<ScriptError> error;

    bool ok() const { return !error.has_value(); }
};

// The source of `do shell script` around a command: the command's text goes
// inside the string literal escaped, so what the shell receives is exactly
// `text`; with `asAdmin` "with administrator privileges" follows directly.
std::string shellScriptSource(const std::string& text, bool asAdmin);
// The source that brings Terminal forward (with a window) and types `text`.
std::string typeInTerminalSource(const std::string& text);

// Runs AppleScript and shell commands for the tweaks, one at a time, off the
// main thread. Each call names its cause (the tweak's id) for the activity
// journal, and answers through a future; callers that only start something
// drop it.
class ScriptRunner {
  public:
    ScriptRunner(platform::Scripting& scripting, platform::PermissionAsker& permissions,
                 platform::MainQueue& mainQueue,
                 platform::Journal& journal, platform::Log& log,
                 std::filesystem::path compiledScripts);

    std::future<ScriptResult> runAppleScript(std::string source, std::string cause);
    std::future<ScriptResult> runScript(std::string text, bool isShell, bool asAdmin,
                                        std::string cause);
    // The same, handing the result to `done` on the main queue: for a caller
    // that must not hold a thread while an administrator prompt is open.
    void runScriptThenOnMainQueue(std::string text, bool isShell, bool asAdmin, std::string cause,
                                  std::function<void(ScriptResult)> done);
    // A script that only reads the system (a volume, a setting): run as
    // runScript() runs AppleScript, but not journaled, since it changes
    // nothing.
    std::future<ScriptResult> readScript(std::string source, bool isShell = false);
    void readScriptThenOnMainQueue(std::string source, bool isShell,
                                   std::function<void(ScriptResult)> done);
    // Quits the process (the system starts the Dock, Finder and the menu bar
    // again by itself). The outcome is not reported.
    void restartApp(std::string processName, bool asAdmin, std::string cause);
    // Runs the script "<name>.scpt" shipped with the program with
    // osascript, in turn with the other scripts (a read after it sees what
    // it did); nothing when there is no such script. Answers its outcome,
    // which the caller may wait for off the runner.
    std::future<ScriptResult> runCompiledScript(const std::string& name, const std::string& cause);
    void typeInTerminal(std::string text, std::string cause);
    // A script refused for want of assistive access asks for the
    // Accessibility permission; other errors are left to the caller.
    void handleScriptError(const ScriptError& error);
    // Blocks until every script started so far has finished.
    void waitUntilIdle() { executor_.waitUntilIdle(); }
    bool isIdle() { return executor_.isIdle(); }
    core::SerialExecutor& executor() { return executor_; }

  private:
    void runScript(std::string text, bool isShell, bool asAdmin, std::string cause,
                   std::function<void(ScriptResult)> done);
    ScriptResult executeAppleScript(const std::string& source);
    ScriptResult executeScript(const std::string& source);

    platform::Scripting& scripting_;
    platform::PermissionAsker& permissions_;
    platform::MainQueue& mainQueue_;
    platform::Journal& journal_;
    platform::Log& log_;
    std::filesystem::path compiledScripts_;
    core::SerialExecutor executor_{"ScriptRunner"};  // last: stops before the rest goes
};

}  // namespace quorvane::system

#include "system/ScriptRunner.hpp"

#include <memory>

#include "platform/Quoting.hpp"

namespace quorvane::system {

std::string shellScriptSource(const std::string& text, bool asAdmin) {
    std::string source = "do shell script \"" + platform::appleScriptEscape(text) + "\"";
    if (asAdmin)
        source += "with administrator privileges";
    return source;
}

std::string typeInTerminalSource(const std::string& text) {
    return "tell application \"Terminal\"\n"
           "    activate\n"
           "    if (count of windows) is 0 then\n"
           "        do script \"\"\n"
           "    end if\n"
           "end tell\n"
           "tell application \"System Events\"\n"
           "    tell process \"Terminal\"\n"
           "        keystroke \"" +
           platform::appleScriptEscape(text) +
           "\"\n"
           "    end tell\n"
           "end tell";
}

ScriptRunner::ScriptRunner(platform::Scripting& scripting, platform::PermissionAsker& permissions,
                           platform::MainQueue& mainQueue,
                           platform::Journal& journal, platform::Log& log,
                           std::filesystem::path compiledScripts)
    : scripting_(scripting),
      permissions_(permissions),
      mainQueue_(mainQueue),
      journal_(journal),
      log_(log),
      compiledScripts_(std::move(compiledScripts)) {}

ScriptResult ScriptRunner::executeAppleScript(const std::string& source) {
    auto outcome = scripting_.execute(source);
    if (!outcome.created)
        return {{}, ScriptError::cannotInit()};
    if (!outcome.errorInfo.empty())
        return {{}, ScriptError::appleScript(std::move(outcome.errorInfo))};
    return {outcome.result.value_or(""), std::nullopt};
}

ScriptResult ScriptRunner::executeScript(const std::string& source) {
    auto outcome = scripting_.execute(source);
    if (!outcome.created)
        return {{}, ScriptError::cannotInit()};
    if (outcome.result)
        return {std::move(*outcome.result), std::nullopt};
    if (!outcome.errorInfo.empty())
        return {{}, ScriptError::appleScript(std::move(outcome.errorInfo))};
    return {{}, ScriptError::cancelled()};
}

std::future<ScriptResult> ScriptRunner::runAppleScript(std::string source, std::string cause) {
    auto promise = std::make_shared<std::promise<ScriptResult>>();
    auto future = promise->get_future();
    executor_.submit([this, promise, source = std::move(source), cause = std::move(cause)] {
        journal_.record(cause, "script", source);
        promise->set_value(executeAppleScript(source));
    });
    return future;
}

std::future<ScriptResult> ScriptRunner::runScript(std::string text, bool isShell, bool asAdmin,
                                                  std::string cause) {
    auto promise = std::make_shared<std::promise<ScriptResult>>();
    auto future = promise->get_future();
    runScript(std::move(text), isShell, asAdmin, std::move(cause),
              [promise](ScriptResult result) { promise->set_value(std::move(result)); });
    return future;
}

void ScriptRunner::runScript(std::string text, bool isShell, bool asAdmin, std::string cause,
                             std::function<void(ScriptResult)> done) {
    executor_.submit(
        [this, done = std::move(done), text = std::move(text), isShell, asAdmin,
         cause = std::move(cause)] {
            std::string source = text;
            if (isShell) {
                journal_.record(cause, asAdmin ? "command as administrator" : "command", text);
                source = shellScriptSource(text, asAdmin);
            } else {
                if (asAdmin)
                    source += "with administrator privileges";
                journal_.record(cause, "script", source);
            }
            done(executeScript(source));
        });
}

void ScriptRunner::runScriptThenOnMainQueue(std::string text, bool isShell, bool asAdmin,
                                            std::string cause,
                                            std::function<void(ScriptResult)> done) {
    runScript(std::move(text), isShell, asAdmin, std::move(cause),
              [this, done = std::move(done)](ScriptResult result) {
                  mainQueue_.post([done, result = std::move(result)] { done(result); });
              });
}

std::future<ScriptResult> ScriptRunner::readScript(std::string source, bool isShell) {
    auto promise = std::make_shared<std::promise<ScriptResult>>();
    auto future = promise->get_future();
    executor_.submit([this, promise, source = std::move(source), isShell] {
        promise->set_value(executeScript(isShell ? shellScriptSource(source, false) : source));
    });
    return future;
}

void ScriptRunner::readScriptThenOnMainQueue(std::string source, bool isShell,
                                             std::function<void(ScriptResult)> done) {
    executor_.submit([this, source = std::move(source), isShell, done = std::move(done)] {
        mainQueue_.post([done, result = executeScript(isShell ? shellScriptSource(source, false)
                                                              : source)] { done(result); });
    });
}

void ScriptRunner::restartApp(std::string processName, bool asAdmin, std::string cause) {
    executor_.submit([this, processName = std::move(processName), asAdmin,
                      cause = std::move(cause)] {
        auto result = executeScript(shellScriptSource("killall " + processName, asAdmin));
        journal_.record(cause, "restart",
                        result.ok() ? processName + " restarted"
                                    : processName + " not restarted: " + result.error->message());
    });
}

std::future<ScriptResult> ScriptRunner::runCompiledScript(const std::string& name,
                                                          const std::string& cause) {
    auto promise = std::make_shared<std::promise<ScriptResult>>();
    auto future = promise->get_future();
    const auto script = compiledScripts_ / (name + ".scpt");
    std::error_code missing;
    if (name.find('/') != std::string::npos || !std::filesystem::is_regular_file(script, missing)) {
        const std::string message = "the script " + name + " is not among the program's files";
        log_.warning(cause, message);
        promise->set_value({.output = {}, .error = ScriptError::commandLine(message)});
        return future;
    }
    // By name, not by path: the system's osascript, which on the simulated
    // Mac is its stand-in.
    const std::string command = "osascript " + platform::shellQuote(script.string());
    executor_.submit([this, command, cause, promise] {
        journal_.record(cause, "command", command);
        auto result = executeScript(shellScriptSource(command, false));
        if (!result.ok() && result.error->kind() != ScriptError::Kind::cancelled)
            log_.warning(cause, "the script did not run: " + result.error->message());
        promise->set_value(std::move(result));
    });
    return future;
}

void ScriptRunner::typeInTerminal(std::string text, std::string cause) {
    runAppleScript(typeInTerminalSource(text), std::move(cause));
}

void ScriptRunner::handleScriptError(const ScriptError& error) {
    if (error.kind() != ScriptError::Kind::appleScript)
        return;
    // -1719 for interface scripting, 1002 for typing: both mean the
    // Accessibility permission is missing.
    const auto number = error.number();
    if (number != -1719 && number != 1002 &&
        error.message().find("assistive access") == std::string::npos)
        return;
    mainQueue_.post([this] { permissions_.ask(platform::Permission::accessibility); });
}

}  // namespace quorvane::system

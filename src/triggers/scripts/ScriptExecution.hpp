#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "core/WorkerPool.hpp"
#include "platform/Alerts.hpp"
#include "platform/Journal.hpp"
#include "platform/MainQueue.hpp"
#include "platform/ShellRunner.hpp"
#include "system/ScriptRunner.hpp"
#include "triggers/scripts/ScriptTask.hpp"

namespace quorvane::triggers {

// How a run of a script tweak ended.
struct ScriptResult {
    struct NotRun {};
    std::variant<NotRun, std::string, system::ScriptError> value;

    static ScriptResult success(std::string output) { return {std::move(output)}; }
    static ScriptResult failure(system::ScriptError error) { return {std::move(error)}; }

    bool isSuccess() const { return std::holds_alternative<std::string>(value); }
    bool isFailure() const { return std::holds_alternative<system::ScriptError>(value); }
    // What the editor's preview shows: the output, "⚠️ " and the message, or nothing.
    std::string preview() const;
};

// Runs script tweaks: command lines through the shell, each on a worker of
// its own, AppleScript through the script runner; the outcome comes back
// on the main queue, shown in an alert when the script asks for one.
class ScriptExecution {
  public:
    using Completion = std::function<void(const ScriptResult&)>;

    ScriptExecution(platform::ShellRunner& shell, system::ScriptRunner& scripts,
                    platform::MainQueue& mainQueue, platform::Alerts& alerts,
                    platform::Journal& journal)
        : shell_(shell),
          scripts_(scripts),
          mainQueue_(mainQueue),
          alerts_(alerts),
          journal_(journal) {}

    void execute(const ScriptTask& task, Completion completion);
    // Blocks until the command lines started so far have finished.
    void waitUntilIdle() { commandLines_.waitUntilIdle(); }
    bool isIdle() { return commandLines_.isIdle(); }
    core::WorkerPool& workers() { return commandLines_; }
    // How many scripts run at once; more wait for one of them to end.
    static constexpr std::size_t maxRunningScripts = 8;

  private:
    void finish(const ScriptTask& task, const ScriptResult& result, const Completion& completion);

    platform::ShellRunner& shell_;
    system::ScriptRunner& scripts_;
    platform::MainQueue& mainQueue_;
    platform::Alerts& alerts_;
    platform::Journal& journal_;
    // Each script runs on its own worker: a long one (a server, "tail -f")
    // holds back no other. Last: stops before what its jobs use.
    core::WorkerPool commandLines_{"ScriptTweaks", maxRunningScripts};
};

}  // namespace quorvane::triggers

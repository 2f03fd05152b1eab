#include "triggers/scripts/ScriptExecution.hpp"

#include <memory>

namespace quorvane::triggers {

namespace {

std::string withoutShellPrefix(std::string message) {
    static constexpr std::string_view prefix = "bin/bash:";
    for (auto at = message.find(prefix); at != std::string::npos; at = message.find(prefix, at))
        message.erase(at, prefix.size());
    return message;
}

}  // namespace

std::string ScriptResult::preview() const {
    if (const auto* output = std::get_if<std::string>(&value))
        return *output;
    if (const auto* error = std::get_if<system::ScriptError>(&value))
        return "⚠️ " + error->message();
    return {};
}

void ScriptExecution::execute(const ScriptTask& task, Completion completion) {
    if (task.mode == ScriptTask::Mode::commandLine) {
        commandLines_.submit([this, task, completion = std::move(completion)] {
            journal_.record(task.id, "command", task.content);
            auto outcome = shell_.run(task.content);
            auto result = outcome ? ScriptResult::success(outcome.value())
                                  : ScriptResult::failure(system::ScriptError::commandLine(
                                        withoutShellPrefix(outcome.error().message)));
            mainQueue_.post([this, task, result, completion] { finish(task, result, completion); });
        });
        return;
    }
    // The runner answers through a future; waiting for it belongs on the
    // background executor, not on the main thread.
    auto pending = std::make_shared<std::future<system::ScriptResult>>(
        scripts_.runAppleScript(task.content, task.id));
    commandLines_.submit([this, task, pending, completion = std::move(completion)] {
        const auto outcome = pending->get();
        mainQueue_.post([this, task, outcome, completion] {
            ScriptResult result = ScriptResult::success(outcome.output);
            if (outcome.error) {
                scripts_.handleScriptError(*outcome.error);
                result = ScriptResult::failure(*outcome.error);
            }
            finish(task, result, completion);
        });
    });
}

void ScriptExecution::finish(const ScriptTask& task, const ScriptResult& result,
                             const Completion& completion) {
    if (task.showsAlert) {
        platform::Alert alert{.style = platform::Alert::Style::informational,
                              .message = task.name,
                              .informativeText = {}};
        if (result.isSuccess()) {
            alert.informativeText = std::get<std::string>(result.value);
        } else if (result.isFailure()) {
            alert.style = platform::Alert::Style::warning;
            alert.informativeText = std::get<system::ScriptError>(result.value).message();
        }
        alerts_.show(alert);
    }
    if (completion)
        completion(result);
}

}  // namespace quorvane::triggers

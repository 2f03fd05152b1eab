#include "system/SystemServices.hpp"

#include "system/audio/VolumeScripts.hpp"

namespace quorvane::system {

void SystemServices::runChangingScript(std::string cause, std::string target, std::string text,
                                       bool asAdmin,
                                       std::function<void(const ScriptResult&)> done) {
    commands.submit([this, cause = std::move(cause), target = std::move(target),
                     text = std::move(text), asAdmin, done = std::move(done)] {
        ScriptResult result;
        switches.change(cause, target, [&] {
            result = awaitScript(scripts.runScript(text, true, asAdmin, cause));
        });
        mainQueue.post([done, result = std::move(result)] { done(result); });
    });
}

void SystemServices::changePreference(const std::string& cause, const std::string& target,
                                      const std::function<void()>& change) const {
    if (switches.recorder && preferences)
        switches.recorder->around(cause, "preference", *preferences, target, change);
    else
        change();
}

void SystemServices::runCommand(const std::string& cause, const std::string& command) {
    journal.record(cause, "command", command);
    if (auto ran = shell.run(command); !ran)
        log.warning(cause, "\"" + command + "\" failed: " + ran.error().message);
}

void runCommandInBackground(SystemServices& services, std::string cause, std::string command) {
    services.commands.submit([&services, cause = std::move(cause), command = std::move(command)] {
        services.runCommand(cause, command);
    });
}

}  // namespace quorvane::system

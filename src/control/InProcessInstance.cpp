#include "control/InProcessInstance.hpp"

#include "wiring/AppPaths.hpp"
#include "wiring/AppServices.hpp"
#include "control/ControlCommands.hpp"
#include "adapters/posix/ControlSocket.hpp"
#include "adapters/posix/StderrLog.hpp"

namespace quorvane::app {

std::optional<std::string> handleInProcess(const std::string& request) {
    // Commands that only show something, or need the instance's windows and
    // event streams, are never carried out here.
    const auto parsed = ControlRequest::parse(request);
    const auto* definition = parsed ? findControlCommand(parsed.value().command()) : nullptr;
    if (!definition || definition->needsInstance)
        return controlFailure(std::string(platform::posix::notRunning));

    HeadlessApplication application;

    platform::posix::StderrLog log;
    const auto directories = platform::posix::XdgDirectories::current();
    const auto socket = controlSocketFor(directories);
    if (!socket)
        return controlFailure(socket.error().message);
    platform::posix::ControlServer lock(
        socket.value(),
        [](const std::string&) {
            return std::string(
                R"({"ok":false,"busy":true,"error":"Quorvane is busy with a command; try again"})");
        },
        log);
    // Without the lock another instance may be alive, whose records this
    // one would overwrite: never go on.
    if (auto started = lock.start(); !started) {
        if (started.error().message == platform::posix::ControlServer::alreadyRunning)
            return std::nullopt;
        return controlFailure(started.error().message);
    }

    AppServices services(directories);
    ControlCommands commands;
    bindInstanceCommands(commands, {.catalogue = services.catalogue(),
                                    .actions = services.tweakActions(),
                                    .reopen = {},
                                    .defaults = services.userDefaults(),
                                    .journal = services.journal()});
    auto answer = std::make_shared<std::optional<std::string>>();
    commands.handle(request, [answer](const std::string& line) { *answer = line; });
    // A command that answers later does so while its work drains.
    services.finishBackgroundWork();
    services.terminate();
    return answer->value_or(controlFailure("the command gave no answer"));
}

}  // namespace quorvane::app

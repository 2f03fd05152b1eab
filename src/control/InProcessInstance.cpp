#include "control/InProcessInstance.hpp"

#include "wiring/AppPaths.hpp"
#include "wiring/AppServices.hpp"
#include "control/ControlCommands.hpp"
#include "control/RestoreCommand.hpp"
#include "core/CanToggle.hpp"
#include "adapters/posix/ControlSocket.hpp"
#include "adapters/posix/StderrLog.hpp"

namespace quorvane::app {

namespace {

// A switch's answer says what the toggle became once its work was done: a
// tweak may find out only then that it stays off (the administrator prompt
// was cancelled, the tool did not start).
std::string withStateReadBack(const core::Catalogue& catalogue, const ControlRequest& request,
                              std::string answer) {
    auto reply = nlohmann::json::parse(answer, nullptr, false);
    if (!reply.is_object() || !reply.contains("on"))
        return answer;
    auto id = reply.value("id", std::string());
    if (auto asked = request.text("id"); id.empty() && asked)
        id = asked.value();
    const auto tweak = catalogue.find(id);
    const auto* toggle = tweak ? core::asToggle(*tweak) : nullptr;
    if (!toggle)
        return answer;
    reply["on"] = toggle->isOn();
    return reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

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
    bindRestoreCommand(commands, services.restore(), services.catalogue());
    auto answer = std::make_shared<std::optional<std::string>>();
    commands.handle(request, [answer](const std::string& line) { *answer = line; });
    // A command that answers later does so while its work drains.
    services.finishBackgroundWork();
    if (*answer)
        *answer = withStateReadBack(services.catalogue(), parsed.value(), **answer);
    services.terminate();
    return answer->value_or(controlFailure("the command gave no answer"));
}

}  // namespace quorvane::app

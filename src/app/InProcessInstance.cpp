#include "app/InProcessInstance.hpp"

#include "app/AppServices.hpp"
#include "app/ControlCommands.hpp"
#include "platform/posix/ControlSocket.hpp"
#include "platform/posix/StderrLog.hpp"

namespace quorvane::app {

std::optional<std::string> handleInProcess(const std::string& request) {
    HeadlessApplication application;

    platform::posix::StderrLog log;
    const auto directories = platform::posix::XdgDirectories::current();
    platform::posix::ControlServer lock(
        platform::posix::controlSocketPath(directories.runtimeDir),
        [](const std::string&) {
            return std::string(
                R"({"ok":false,"error":"Quorvane is busy with a command; try again"})");
        },
        log);
    if (auto started = lock.start(); !started) {
        if (started.error().message == platform::posix::ControlServer::alreadyRunning)
            return std::nullopt;
        log.warning("ControlSocket", started.error().message);
    }

    AppServices services(directories);
    ControlCommands commands(services.catalogue(), services.tweakActions(), [] {});
    auto answer = commands.handle(request);
    services.finishBackgroundWork();
    services.terminate();
    return answer;
}

}  // namespace quorvane::app

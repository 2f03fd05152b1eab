#include "app/CommandClient.hpp"

#include "app/ControlCommandSpec.hpp"
#include "app/InProcessInstance.hpp"
#include "platform/posix/ControlSocket.hpp"
#include "platform/posix/XdgDirectories.hpp"

namespace quorvane::app {

namespace {

std::filesystem::path socketPath() {
    return platform::posix::controlSocketPath(
        platform::posix::XdgDirectories::current().runtimeDir);
}

}  // namespace

int CommandClient::reported(const std::string& answer, const Report& report) {
    const auto reply = nlohmann::json::parse(answer, nullptr, false);
    if (!reply.is_object() || reply.value("ok", false) != true) {
        err_ << "quorvane: "
             << (reply.is_object() ? reply.value("error", std::string("refused")) : "no answer")
             << "\n";
        return 1;
    }
    return report(reply);
}

int CommandClient::send(const nlohmann::json& request, const Report& report) {
    const auto* spec = findControlCommand(request.value("command", std::string()));
    if (!spec) {
        err_ << "quorvane: no control command \"" << request.value("command", std::string())
             << "\"\n";
        return 2;
    }
    // The instance answers within the deadline; the socket adds a moment.
    const auto wait = spec->deadline + std::chrono::seconds(1);
    // Twice: an instance may start between the first try and taking its lock.
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto answer = platform::posix::sendControlRequest(socketPath(), request.dump(), wait);
        if (answer)
            return reported(answer.value(), report);
        if (answer.error().message != platform::posix::notRunning || spec->needsInstance) {
            err_ << "quorvane: " << answer.error().message << "\n";
            return 1;
        }
        if (auto here = handleInProcess(request.dump()))
            return reported(*here, report);
    }
    err_ << "quorvane: another Quorvane is starting; try again\n";
    return 1;
}

}  // namespace quorvane::app

#include "app/CommandClient.hpp"

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

int CommandClient::ask(const nlohmann::json& request, const Report& report) {
    auto answer = platform::posix::sendControlRequest(socketPath(), request.dump());
    if (!answer) {
        err_ << "quorvane: " << answer.error().message << "\n";
        return 1;
    }
    return reported(answer.value(), report);
}

int CommandClient::askOrHandleHere(const nlohmann::json& request, const Report& report) {
    // Twice: an instance may start between the first try and taking its lock.
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto answer = platform::posix::sendControlRequest(socketPath(), request.dump());
        if (answer)
            return reported(answer.value(), report);
        if (answer.error().message != platform::posix::notRunning) {
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

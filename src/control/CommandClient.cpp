#include "control/CommandClient.hpp"

#include <thread>

#include "wiring/AppPaths.hpp"
#include "control/ControlCommandDefinition.hpp"
#include "control/InProcessInstance.hpp"
#include "adapters/posix/ControlSocket.hpp"
#include "adapters/posix/XdgDirectories.hpp"

namespace quorvane::app {

namespace {

platform::Result<std::filesystem::path> socketPath() {
    return controlSocketFor(platform::posix::XdgDirectories::current());
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
    const auto* definition = findControlCommand(request.value("command", std::string()));
    if (!definition) {
        err_ << "quorvane: no control command \"" << request.value("command", std::string())
             << "\"\n";
        return 2;
    }
    // Text fields were checked as the command line was read; whatever slipped
    // through is replaced rather than allowed to abort.
    const auto socket = socketPath();
    if (!socket) {
        err_ << "quorvane: " << socket.error().message << "\n";
        return 1;
    }
    const std::string wire =
        request.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    // The instance answers within the deadline; the socket adds a moment.
    const auto wait = definition->deadline + std::chrono::seconds(1);
    // Another command run without an instance holds the lock for a moment
    // (it answers "busy"), or an instance is starting: wait for it, a little
    // longer each time, for a few seconds at most.
    const auto giveUp = std::chrono::steady_clock::now() + busyPatience;
    auto pause = std::chrono::milliseconds(20);
    for (;;) {
        std::optional<std::string> answer;
        auto sent = platform::posix::sendControlRequest(socket.value(), wire, wait);
        if (sent) {
            answer = sent.value();
        } else if (sent.error().message == platform::posix::noAnswer) {
            // Sent whole: it may yet be carried out, so this is not a failure.
            err_ << "quorvane: sent, no answer within " << wait.count() / 1000
                 << " s; it may still be carried out\n";
            return noAnswerStatus;
        } else if (sent.error().message == platform::posix::closedUnanswered) {
            err_ << "quorvane: " << sent.error().message << "\n";
            return noAnswerStatus;
        } else if (sent.error().message == platform::posix::notTaken) {
            // The instance, or a command holding the lock, stopped with
            // this one still queued: try again like any busy answer.
        } else if (sent.error().message != platform::posix::notRunning ||
                   definition->needsInstance) {
            err_ << "quorvane: " << sent.error().message << "\n";
            return 1;
        } else {
            answer = handleInProcess(wire);
        }
        const auto parsed = answer ? nlohmann::json::parse(*answer, nullptr, false)
                                   : nlohmann::json();
        const bool busy = !answer || (parsed.is_object() && parsed.value("busy", false));
        if (!busy)
            return reported(*answer, report);
        if (std::chrono::steady_clock::now() + pause > giveUp) {
            err_ << "quorvane: another Quorvane command is running; try again\n";
            return 1;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(250));
    }
}

}  // namespace quorvane::app

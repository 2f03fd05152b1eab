#include "control/CommandClient.hpp"

#include <exception>
#include <optional>
#include <thread>

#include "adapters/posix/ControlSocket.hpp"
#include "adapters/posix/XdgDirectories.hpp"
#include "control/ControlCommandDefinition.hpp"
#include "control/InProcessInstance.hpp"
#include "wiring/AppPaths.hpp"

namespace quorvane::app {

namespace {

platform::Result<std::filesystem::path> socketPath() {
    return controlSocketFor(platform::posix::XdgDirectories::current());
}

}  // namespace

std::string answerText(const nlohmann::json& answer, const char* key, std::string otherwise) {
    const auto found = answer.is_object() ? answer.find(key) : answer.end();
    return found != answer.end() && found->is_string() ? found->get<std::string>()
                                                       : std::move(otherwise);
}

int CommandClient::reported(const std::string& answer, const Report& report) {
    const auto reply = nlohmann::json::parse(answer, nullptr, false);
    if (!reply.is_object()) {
        err_ << "quorvane: the running Quorvane's answer is not a JSON object\n";
        return 1;
    }
    if (const auto ok = reply.find("ok"); ok == reply.end() || *ok != true) {
        err_ << "quorvane: " << answerText(reply, "error", "refused") << "\n";
        return 1;
    }
    // The answer comes from another process, perhaps of another version: a
    // field missing or of another type than the command reads is said, and
    // never ends the program.
    try {
        return report(reply);
    } catch (const std::exception& error) {
        err_ << "quorvane: the running Quorvane's answer is not what this command reads ("
             << error.what() << ")\n";
        return 1;
    }
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
    const std::string wire = request.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    // The instance drops a longer request unread, and a short-lived instance
    // takes the same ones: refused here, at once, as a mistake in the
    // arguments.
    constexpr std::size_t limit = platform::posix::ControlServer::maxRequestBytes;
    if (wire.size() > limit) {
        err_ << "quorvane: the arguments are too long: they make a request of " << wire.size()
             << " bytes, and Quorvane takes at most " << limit / 1024 << " KiB (" << limit
             << " bytes)\n";
        return 2;
    }
    const auto socket = socketPath();
    if (!socket) {
        err_ << "quorvane: " << socket.error().message << "\n";
        return 1;
    }
    // The instance answers within the deadline; the socket adds a moment.
    const auto wait = definition->deadline + std::chrono::seconds(1);
    // Another command run without an instance holds the lock for a moment
    // (it answers "busy"), the instance has all its connections taken, or
    // an instance is starting: wait for it, a little longer each time, for
    // a few seconds at most, then say which it was.
    const auto giveUp = std::chrono::steady_clock::now() + patience_;
    auto pause = std::chrono::milliseconds(20);
    std::string whyBusy;
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
            whyBusy = "Quorvane stopped before reading the request; nothing was done";
        } else if (sent.error().message != platform::posix::notRunning ||
                   definition->needsInstance) {
            err_ << "quorvane: " << sent.error().message << "\n";
            return 1;
        } else {
            answer = handleInProcess(wire);
            if (!answer)
                whyBusy =
                    "another Quorvane holds the lock and does not answer yet (it is "
                    "starting or stopping); nothing was done";
        }
        const auto parsed = answer ? nlohmann::json::parse(*answer, nullptr, false)
                                   : nlohmann::json();
        const auto busy = parsed.is_object() ? parsed.find("busy") : parsed.end();
        if (answer && (busy == parsed.end() || *busy != true))
            return reported(*answer, report);
        if (answer)
            whyBusy = answerText(parsed, "error", "Quorvane is busy; nothing was done");
        if (std::chrono::steady_clock::now() + pause > giveUp) {
            err_ << "quorvane: " << whyBusy << " (still so after "
                 << std::chrono::duration<double>(patience_).count() << " s)\n";
            return 1;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(250));
    }
}

}  // namespace quorvane::app

#pragma once

#include <chrono>
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace quorvane::app {

// The command line's side of the control socket.
// A text field of an answer from another process, which may lack it or hold
// something else there: `otherwise` then.
std::string answerText(const nlohmann::json& answer, const char* key, std::string otherwise = {});

class CommandClient {
  public:
    // Reports a successful answer; returns the exit status.
    using Report = std::function<int(const nlohmann::json& reply)>;

    // `patience`: how long a busy instance, or a command run without one,
    // is waited for.
    CommandClient(std::ostream& out, std::ostream& err,
                  std::chrono::milliseconds patience = busyPatience)
        : out_(out), err_(err), patience_(patience) {}

    // Sends the request to the running instance and waits as long as its
    // command's deadline. With no instance running, a command that does not
    // need one is handled here by a short-lived instance, which waits for
    // the tweak's background work and saves before it exits. A request
    // longer than the socket takes is refused at once (exit status 2); an
    // answer `report` cannot read is said, never thrown.
    int send(const nlohmann::json& request, const Report& report);

    // The exit status when the request was sent whole but no answer came
    // within its deadline: it may still be carried out.
    static constexpr int noAnswerStatus = 3;

    // How long a command waits for another one run without an instance.
    static constexpr std::chrono::seconds busyPatience{10};

  private:
    int reported(const std::string& answer, const Report& report);

    std::ostream& out_;
    std::ostream& err_;
    std::chrono::milliseconds patience_;
};

}  // namespace quorvane::app

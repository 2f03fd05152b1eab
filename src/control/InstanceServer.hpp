#pragma once

#include <atomic>
#include <optional>
#include <ostream>
#include <string>

#include "adapters/posix/ControlSocket.hpp"
#include "adapters/posix/StderrLog.hpp"
#include "control/ControlCommands.hpp"

namespace quorvane::app {

// The running instance's end of the control socket, and the lock that makes
// it the only one for this user. Requests that come before the commands are
// served are told to try again; once `stop` is called nothing waits on the
// event loop any more.
class InstanceServer {
  public:
    explicit InstanceServer(std::filesystem::path socket);

    // Takes the lock, or hands over to the instance that holds it and asks
    // it to show its window. Answers nothing when this process is the
    // instance, else the exit status once it has said why on `out` or `err`.
    std::optional<int> startOrHandOver(std::ostream& out, std::ostream& err);

    // Answers requests with `commands`, on `mainQueue`, until `stop`.
    void serve(const ControlCommands& commands, platform::MainQueue& mainQueue);

    // Stops answering at once and wakes every request still waiting, so
    // that no client holds up the exit.
    void stop();

  private:
    enum class Start {
        started,         // this process is the instance
        handedOver,      // another one runs, and was asked to show its window
        alreadyRunning,  // another one runs, and did not answer the request
    };

    // Fails when neither taking the lock nor handing over can be done.
    platform::Result<Start> start();
    std::string handle(const std::string& request);

    platform::posix::StderrLog log_;
    std::atomic<const ControlCommands*> commands_{nullptr};
    std::atomic<platform::MainQueue*> mainQueue_{nullptr};
    QuitNotice quitting_;
    platform::posix::ControlServer server_;
};

}  // namespace quorvane::app

#include "control/InstanceServer.hpp"

namespace quorvane::app {

InstanceServer::InstanceServer(std::filesystem::path socket)
    : server_(
          std::move(socket), [this](const std::string& request) { return handle(request); }, log_) {
}

platform::Result<InstanceServer::Start> InstanceServer::start() {
    auto started = server_.start();
    if (started)
        return Start::started;
    if (started.error().message != platform::posix::ControlServer::alreadyRunning)
        return started.error();
    return platform::posix::sendControlRequest(server_.path(), R"({"command":"reopen"})")
               ? Start::handedOver
               : Start::alreadyRunning;
}

std::optional<int> InstanceServer::startOrHandOver(std::ostream& out, std::ostream& err) {
    const auto started = start();
    if (!started) {
        err << "quorvane: " << started.error().message << "\n";
        return 1;
    }
    switch (started.value()) {
        case Start::started:
            return std::nullopt;
        case Start::handedOver:
            out << "Quorvane is already running; asked it to show its window.\n";
            return 0;
        case Start::alreadyRunning:
            out << "Quorvane is already running.\n";
            return 0;
    }
    return 1;
}

void InstanceServer::serve(const ControlCommands& commands, platform::MainQueue& mainQueue) {
    mainQueue_.store(&mainQueue);
    commands_.store(&commands);
}

void InstanceServer::stop() {
    quitting_.set();
    server_.stop();
    commands_.store(nullptr);
}

std::string InstanceServer::handle(const std::string& request) {
    auto* commands = commands_.load();
    // Nothing was done: the client waits a moment and asks again.
    if (!commands)
        return R"({"ok":false,"busy":true,"error":"Quorvane is starting; nothing was done"})";
    return handleOnMainQueue(*mainQueue_.load(), *commands, request, &quitting_);
}

}  // namespace quorvane::app

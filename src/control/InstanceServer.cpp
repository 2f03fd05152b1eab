#include "control/InstanceServer.hpp"

namespace quorvane::app {

InstanceServer::InstanceServer(std::filesystem::path socket)
    : server_(
          std::move(socket), [this](const std::string& request) { return handle(request); }, log_) {}

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
    if (!commands)
        return R"({"ok":false,"error":"Quorvane is starting; try again"})";
    return handleOnMainQueue(*mainQueue_.load(), *commands, request, &quitting_);
}

}  // namespace quorvane::app

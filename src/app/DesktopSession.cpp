#include "app/DesktopSession.hpp"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/sim/SimWindowServer.hpp"

namespace quorvane::app {

bool DesktopSession::simulationRequested() {
    const char* chosen = std::getenv("QUORVANE_DESKTOP");
    return chosen && std::string_view(chosen) == "simulated";
}

DesktopSession::DesktopSession(platform::Journal& journal, platform::Pasteboard& pasteboard,
                               platform::Log& log) {
    // The X11 session's adapters for these ports are not part of this build
    // yet: every host gets the simulated desktop, and says so when it has a
    // real one.
    if (!simulationRequested() && std::getenv("DISPLAY"))
        log.info("Desktop", "windows and input act on the simulated Mac's desktop");
    simulated_ = std::make_unique<platform::sim::SimWindowServer>(
        static_cast<int>(::getpid()), journal, pasteboard,
        [this](const std::string& combination) { return shortcuts_ && shortcuts_(combination); });
    kind_ = "simulated";
    auto* sim = simulated_.get();
    screens_ = sim;
    accessibility_ = sim;
    windowList_ = sim;
    applications_ = sim;
    monitors_ = sim;
    taps_ = sim;
    synthetic_ = sim;
}

DesktopSession::~DesktopSession() = default;

void DesktopSession::setShortcutHandler(std::function<bool(const std::string&)> handler) {
    shortcuts_ = std::move(handler);
}

}  // namespace quorvane::app

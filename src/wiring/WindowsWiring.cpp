#include "wiring/WindowsWiring.hpp"

namespace quorvane::app {

WindowsWiring::WindowsWiring(SharedServices& shared, DesktopSession& desktop)
    : owned_({.store = shared.store,
              .mainQueue = shared.mainQueue,
              .journal = shared.journal,
              .log = shared.log,
              .screens = desktop.screens(),
              .accessibility = desktop.accessibility(),
              .windowList = desktop.windowList(),
              .applications = desktop.applications(),
              .permissions = shared.simHome,
              .permissionAsker = shared.permissionAsker}) {}

void WindowsWiring::start() {
    owned_.apps.start();
}

void WindowsWiring::stop() {
    owned_.apps.stop();
}

}  // namespace quorvane::app

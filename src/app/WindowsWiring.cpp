#include "app/WindowsWiring.hpp"

namespace quorvane::app {

WindowsWiring::WindowsWiring(SharedServices& shared, DesktopSession& desktop)
    : gate_(shared.simHome, shared.permissionAsker, shared.mainQueue),
      apps_(desktop.applications()),
      actions_(desktop.accessibility(), desktop.applications(), shared.journal),
      windowAt_(desktop.accessibility(), desktop.screens()),
      hiding_(apps_, desktop.applications(), actions_),
      services_{.store = shared.store,
                .mainQueue = shared.mainQueue,
                .journal = shared.journal,
                .log = shared.log,
                .screens = desktop.screens(),
                .accessibility = desktop.accessibility(),
                .windowList = desktop.windowList(),
                .applications = desktop.applications(),
                .gate = gate_,
                .apps = apps_,
                .actions = actions_,
                .windowAt = windowAt_,
                .hiding = hiding_} {}

void WindowsWiring::start() {
    apps_.start();
}

void WindowsWiring::stop() {
    apps_.stop();
}

}  // namespace quorvane::app

#include "app/InputWiring.hpp"

namespace quorvane::app {

InputWiring::InputWiring(SharedServices& shared, DesktopSession& desktop, WindowsWiring& windows)
    : poster_(desktop.synthetic(), shared.mainQueue, shared.journal),
      services_{.monitors = desktop.monitors(),
                .localMonitors = localMonitors_,
                .taps = desktop.taps(),
                .poster = poster_,
                .journal = shared.journal,
                .log = shared.log,
                .windows = windows.services()} {}

void InputWiring::stop() {
    poster_.flush();
}

}  // namespace quorvane::app

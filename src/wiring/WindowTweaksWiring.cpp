#include "wiring/WindowTweaksWiring.hpp"

#include "adapters/qt/QtOwnWindows.hpp"
#include "windows/WindowTweaks.hpp"

namespace quorvane::app {

WindowTweaksWiring::WindowTweaksWiring(SharedServices& shared, WindowsWiring& windows,
                                       InputWiring& input, DisplayWiring& display)
    : services_{.windows = windows.services(),
                .monitors = input.services().monitors,
                .overlays = display.overlays(),
                .defaults = shared.userDefaults,
                .alerts = shared.alerts,
                .desktopPicture = display.services().desktopPicture,
                .minimizeOwnWindows = [] { platform::qt::minimizeOwnWindows(); },
                .reveal = shared.desktop.reveal(),
                .dockReadable = shared.desktop.simulated() != nullptr} {}

void WindowTweaksWiring::addTweaks(core::TweakFactory& factory) {
    windows::addWindowTweaks(factory, services_);
}

}  // namespace quorvane::app

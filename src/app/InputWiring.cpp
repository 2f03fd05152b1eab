#include "app/InputWiring.hpp"

#include "input/InputTweaks.hpp"

namespace quorvane::app {

InputWiring::InputWiring(SharedServices& shared, DesktopSession& desktop, WindowsWiring& windows)
    : poster_(desktop.synthetic(), shared.mainQueue, shared.journal),
      services_{.monitors = desktop.monitors(),
                .localMonitors = localMonitors_,
                .taps = desktop.taps(),
                .poster = poster_,
                .journal = shared.journal,
                .log = shared.log,
                .windows = windows.services()},
      shared_(shared),
      desktop_(desktop) {}

void InputWiring::addTweaks(core::TweakFactory& factory, platform::Overlays& overlays) {
    keyboard_.emplace(input::KeyboardTweakServices{.input = services_,
                                                   .overlays = overlays,
                                                   .layout = &desktop_.keyboardLayout(),
                                                   .defaults = shared_.userDefaults});
    input::addInputTweaks(factory, *keyboard_);
}

void InputWiring::stop() {
    poster_.flush();
}

}  // namespace quorvane::app

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
      desktop_(desktop),
      hid_(shared.simHome.root(), &shared.journal) {}

void InputWiring::addTweaks(core::TweakFactory& factory, platform::Overlays& overlays) {
    if (desktop_.simulated())
        menuAccessibility_.emplace(desktop_.accessibility(), shared_.mainQueue);
    keyboard_.emplace(input::KeyboardTweakServices{
        .input = services_,
        .overlays = overlays,
        .layout = &desktop_.keyboardLayout(),
        .defaults = shared_.userDefaults,
        .persistor = shared_.persistor,
        .menuAccessibility = menuAccessibility_ ? &*menuAccessibility_ : nullptr,
        .sound = &shared_.sound,
        .hid = &hid_});
    input::addInputTweaks(factory, *keyboard_);
}

void InputWiring::setShortcutSheetMaker(
    std::function<std::unique_ptr<input::ShortcutSheetView>(input::ShortcutSheetController&)> make) {
    if (keyboard_)
        keyboard_->makeShortcutSheet = std::move(make);
}

void InputWiring::stop() {
    poster_.flush();
}

}  // namespace quorvane::app

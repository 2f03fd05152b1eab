#include "wiring/InputWiring.hpp"

#include "input/InputStates.hpp"
#include "input/InputTweaks.hpp"
#include "adapters/qt/QtOwnWindows.hpp"

namespace quorvane::app {

InputWiring::InputWiring(SharedServices& shared, DesktopSession& desktop, WindowsWiring& windows)
    : poster_(desktop.synthetic(), shared.mainQueue, shared.journal),
      services_{.monitors = desktop.monitors(),
                .localMonitors = localMonitors_,
                .taps = desktop.taps(),
                .poster = poster_,
                .journal = shared.journal,
                .log = shared.log,
                .windows = windows.services(),
                .store = shared.store,
                .mainQueue = shared.mainQueue},
      shared_(shared),
      desktop_(desktop),
      hid_(shared.simHome.root(), &shared.journal) {
    input::addInputStates(states_, &hid_, &shared.shell);
}

void InputWiring::addTweaks(core::TweakFactory& factory, platform::Overlays& overlays,
                            std::function<const platform::Hotkeys*()> hotkeys) {
    if (desktop_.simulated())
        menuAccessibility_.emplace(desktop_.accessibility(), shared_.mainQueue);
    keyboard_.emplace(input::KeyboardTweakServices{
        .input = services_,
        .overlays = overlays,
        .layout = &desktop_.keyboardLayout(),
        .defaults = shared_.userDefaults,
        .persistor = shared_.persistor,
        .settingsWorker = settingsWorker_,
        .menuAccessibility = menuAccessibility_ ? &*menuAccessibility_ : nullptr,
        .sound = &shared_.sound,
        .hid = &hid_,
        .spellChecker = &spellChecker_,
        .shell = &shared_.shell,
        .alerts = &shared_.alerts,
        .hotkeys = std::move(hotkeys),
        .minimizeOwnWindows = [] { platform::qt::minimizeOwnWindows(); },
        .makeShortcutSheet = {},
        .settings = {&shared_.changes, &states_}});
    input::ScrollInterceptor* scrolling = nullptr;
    if (desktop_.simulated()) {
        scrolling = &tapScrolling_.emplace(desktop_.taps(), shared_.journal, shared_.log);
    } else {
        stateStore_ = shared_.openStateStore("ReverseScrollTask");
        pointerDevices_.emplace(shared_.log, [this] { return desktop_.connectPointerDevices(); });
        scrolling = &deviceScrolling_.emplace(*pointerDevices_, stateStore_.get(), shared_.journal,
                                               shared_.log);
    }
    // The simulated Mac does not know where our windows are.
    mouse_.emplace(input::MouseTweakServices{
        .input = services_,
        .defaults = shared_.userDefaults,
        .overlays = overlays,
        .stops = stops_,
        .mainWindowUnder = desktop_.simulated() ? std::function<bool(platform::Point)>()
                                                : &platform::qt::keyWindowUnder,
        .scrollInterceptor = scrolling,
        .alerts = &shared_.alerts});
    input::addInputTweaks(factory, *keyboard_, *mouse_);
}

void InputWiring::setShortcutSheetMaker(
    std::function<std::unique_ptr<input::ShortcutSheetView>(input::ShortcutSheetController&)> make) {
    if (keyboard_)
        keyboard_->makeShortcutSheet = std::move(make);
}

void InputWiring::start() {
    if (deviceScrolling_)
        deviceScrolling_->restoreLeftovers();
}

void InputWiring::addWorkers(BackgroundDrain& drain) {
    drain.add(settingsWorker_);
}

void InputWiring::stop() {
    stops_.stopAll();
    poster_.flush();
}

}  // namespace quorvane::app

#pragma once

#include "wiring/DesktopSession.hpp"
#include "wiring/SharedServices.hpp"
#include "wiring/WindowsWiring.hpp"
#include <optional>

#include "core/catalogue/TweakFactory.hpp"
#include "input/InputServices.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"
#include "input/mouse/MouseTweakServices.hpp"
#include "input/mouse/ScrollInterceptor.hpp"
#include "wiring/BackgroundDrain.hpp"
#include "wiring/LazyPointerDevices.hpp"
#include "platform/MainThreadAccessibility.hpp"
#include "simmac/SimHidSystem.hpp"
#include "simmac/SimSpellChecker.hpp"
#include "platform/Overlays.hpp"
#include "adapters/qt/QtLocalMonitor.hpp"

namespace quorvane::app {

// The input folder: the desktop's input streams, our own windows' local
// monitors, and the journaled poster. The keyboard and mouse tweaks are
// built from `services()`.
class InputWiring {
  public:
    InputWiring(SharedServices& shared, DesktopSession& desktop, WindowsWiring& windows);

    input::InputServices& services() { return services_; }
    // Puts the keyboard settings back (InputStates.hpp).
    core::StateTable& states() { return states_; }
    // The keyboard tweaks, which show their strips in `overlays`.
    // `hotkeys` finds the hotkey registry (none until there is one).
    void addTweaks(core::TweakFactory& factory, platform::Overlays& overlays,
                   std::function<const platform::Hotkeys*()> hotkeys);
    // The shortcut sheet's panel; until then the sheet has no window.
    void setShortcutSheetMaker(
        std::function<std::unique_ptr<input::ShortcutSheetView>(input::ShortcutSheetController&)> make);
    // What a command run without an instance waits for before it exits.
    void addWorkers(BackgroundDrain& drain);
    // Puts back the mice's scrolling a dead instance left reversed.
    void start();
    // Stops what the tweaks run (timers, the jiggler's thread, monitors)
    // and writes what is still counted to the journal.
    void stop();

  private:
    platform::qt::QtLocalMonitor localMonitors_;
    input::InputPoster poster_;
    input::InputServices services_;
    SharedServices& shared_;
    DesktopSession& desktop_;
    // The simulated Mac's applications answer on the main thread; an X11
    // desktop has no generic way to read another program's menus.
    std::optional<platform::MainThreadAccessibility> menuAccessibility_;
    // Linux has no system-wide F-key mode: the simulated Mac's, everywhere.
    platform::sim::SimHidSystem hid_;
    // Nor a system-wide spelling language.
    platform::sim::SimSpellChecker spellChecker_;
    // The keyboard settings the tweaks change, to be put back.
    core::StateTable states_{"input"};
    // Before the tweaks that use it, so it outlives them.
    core::SerialExecutor settingsWorker_{"Keyboard settings"};
    std::optional<input::KeyboardTweakServices> keyboard_;
    core::StopList stops_;
    // The wheel is turned round by a tap on the simulated Mac, per device
    // in an X11 session.
    std::optional<input::TapScrollInterceptor> tapScrolling_;
    std::unique_ptr<platform::BlobStore> stateStore_;
    std::optional<LazyPointerDevices> pointerDevices_;
    std::optional<input::DeviceScrollInterceptor> deviceScrolling_;
    std::optional<input::MouseTweakServices> mouse_;
};

}  // namespace quorvane::app

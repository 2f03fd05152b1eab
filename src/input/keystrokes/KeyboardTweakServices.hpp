#pragma once

#include <functional>
#include <memory>

#include "core/Persistor.hpp"
#include "core/SerialExecutor.hpp"
#include "core/restore/ChangeRecorder.hpp"
#include "input/InputServices.hpp"
#include "input/shortcuts/ShortcutSheetView.hpp"
#include "platform/Accessibility.hpp"
#include "platform/Alerts.hpp"
#include "platform/HidSystem.hpp"
#include "platform/Hotkeys.hpp"
#include "platform/ShellRunner.hpp"
#include "platform/Sound.hpp"
#include "platform/SpellChecker.hpp"
#include "platform/KeyboardLayout.hpp"
#include "platform/Overlays.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::input {

// What the keyboard tweaks add to the input streams: our overlay windows,
// the keyboard layout (none: keys show what they typed), the settings and
// stored records, and the shortcut sheet's menu reading and panel.
struct KeyboardTweakServices {
    InputServices& input;
    platform::Overlays& overlays;
    const platform::KeyboardLayout* layout;
    platform::UserDefaults& defaults;
    core::Persistor& persistor;
    // Where the system's keyboard settings are read and written off the
    // main thread. The wiring owns it, so a command run without an instance
    // waits for a setting under way before it exits.
    core::SerialExecutor& settingsWorker;
    // Other programs' menus, callable from the sheet's reading thread; none
    // where the desktop has no way to read them.
    platform::Accessibility* menuAccessibility = nullptr;
    // The key clicks (none: silent).
    platform::Sound* sound = nullptr;
    // The HID system's parameters (none: not on this desktop).
    platform::HidSystem* hid = nullptr;
    // The spell checker's languages, and the shell its preference is read
    // and written through (either none: not on this desktop).
    const platform::SpellChecker* spellChecker = nullptr;
    platform::ShellRunner* shell = nullptr;
    // The keyboard lock's refusals, its way out by shortcut (the hotkey
    // registry, once there is one) and what it does with no screen.
    platform::Alerts* alerts = nullptr;
    std::function<const platform::Hotkeys*()> hotkeys{};
    std::function<void()> minimizeOwnWindows{};
    // Makes the sheet's panel (none: the sheet has no window).
    std::function<std::unique_ptr<ShortcutSheetView>(ShortcutSheetController&)> makeShortcutSheet{};
    // Where the settings of InputStates.hpp are kept with what they
    // replaced.
    core::StateChanges settings{};
};

}  // namespace quorvane::input

#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/Published.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "platform/Hotkeys.hpp"

namespace quorvane::core {

// Binds tweaks to global keyboard shortcuts. A tweak's shortcut is kept by
// the hotkey registry under the tweak's id; pressing it flips a toggle and
// applies it, or runs a one-shot. Main thread only.
class ShortcutService {
  public:
    struct TaskShortcut {
        std::shared_ptr<Tweak> task;
        platform::KeyCombination shortcut;
    };

    ShortcutService(const Catalogue& catalogue, platform::Hotkeys& hotkeys);
    ShortcutService(const ShortcutService&) = delete;
    ShortcutService& operator=(const ShortcutService&) = delete;

    // The tweaks that have a shortcut, in catalogue order.
    Published<std::vector<TaskShortcut>> taskShortcuts;

    // At launch: a press handler for every tweak. Built-in tweaks here, the
    // user's scripts through registerScriptTweaks(), so no script gets two.
    void registerAll();
    // A handler for each script not handled yet; runs again whenever the
    // script list changes, so a new script can be bound at once.
    void registerScriptTweaks();
    void reload();
    // Clears every listed shortcut.
    void removeAll();

    // What a press of the tweak's shortcut does.
    void pressed(const std::string& tweakId);

  private:
    void registerHandler(const std::string& tweakId);

    const Catalogue& catalogue_;
    platform::Hotkeys& hotkeys_;
    std::set<std::string> hasHandledScriptTweaks_;
    Subscription scriptsChanged_;
};

}  // namespace quorvane::core

#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "control/ControlCommands.hpp"
#include "input/shortcuts/ViewShortcutManager.hpp"

namespace quorvane::app {

// The frontmost application's menu shortcuts: its name, whether the read
// stopped at a bound, and one row per key (name, menu path, badges).
nlohmann::json describeMenuShortcuts(const input::ShortcutInfo& info);
std::string menuShortcutsText(const nlohmann::json& shortcuts);

// Binds "menuShortcuts" to the cheat sheet's reader and cache (none: the
// build has no cheat sheet, and the command says so).
void bindInputCommands(ControlCommands& commands, input::ViewShortcutManager* viewShortcuts);

}  // namespace quorvane::app

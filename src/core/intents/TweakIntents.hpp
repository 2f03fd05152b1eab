#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/Catalogue.hpp"

namespace quorvane::core {

// The two actions other programs' automation can call by a tweak's name:
// "Run Tweak" (one-shot tweaks and scripts) runs the tweak; "Toggle Tweak"
// (toggles) sets the state and then runs the tweak so that the state is
// applied, also when it was already so (switchAndApply). A name that
// matches nothing does nothing, and the action still succeeds.
enum class IntentKind { run, toggle };

// The names offered for an action, in catalogue order: for running, every
// tweak that is not a toggle; for toggling, every toggle. A name two
// tweaks share is offered once for each, with its category:
// "Set screenshot location (Simulator)".
std::vector<std::string> intentChoices(const Catalogue& catalogue, IntentKind kind);

// The first tweak of the action's kind, in catalogue order, whose name is
// exactly `name`, else the one it names with its category; null when none
// is. Two one-shots share "Set screenshot location": the first, the Mac's
// own, wins the bare name.
std::shared_ptr<Tweak> resolveIntentTweak(const Catalogue& catalogue, std::string_view name,
                                          IntentKind kind);

}  // namespace quorvane::core

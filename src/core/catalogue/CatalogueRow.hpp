#pragma once

#include <string_view>
#include <variant>
#include <vector>

#include "core/MState.hpp"
#include "core/PState.hpp"
#include "core/Tweak.hpp"

namespace quorvane::core {

// Where a catalogue tweak keeps its on/off state, if it has one.
struct OneShot {
    bool operator==(const OneShot&) const = default;
};
struct OwnState {  // a toggle that keeps its state itself
    bool operator==(const OwnState&) const = default;
};
using StateBinding = std::variant<OneShot, bool MState::*, PKeyPath, OwnState>;

// One built-in tweak: its fixed fields and its state.
struct CatalogueRow {
    TweakInfo info;
    StateBinding state;
};

// The documentation site; a tweak's docUrl is this followed by its page.
inline constexpr std::string_view documentationHost = "https://docs.tarnvell.com";

bool isToggle(const StateBinding& state);
// How a tweak that is already built keeps its state.
StateBinding stateBindingOf(Tweak& tweak);
// The bound field's name ("autoHideDock", "_clickToHide"), or empty.
std::string_view stateFieldName(const StateBinding& state);

}  // namespace quorvane::core

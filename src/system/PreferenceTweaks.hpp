#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/TweakFactory.hpp"
#include "system/Defaults.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// How a preference-backed toggle maps its state to the stored value.
enum class PreferenceValue {
    boolean,     // -bool true / false; on when the read is 1, yes or true
    hiddenInt,   // -int 0 when shown, 1 when hidden, to both keys; on when the first reads 0
    smallFloat,  // -float 0.01 when on, 1.0 when off; on when the read is below 0.5
    suckEffect,  // "suck" when on, "geni" when off; on when the read is "suck"
};

// What the tweak's "Reset" does.
enum class ResetVariant {
    none,
    clearThenRestart,    // the switch goes off, the key is deleted, the process restarts
    restartThenRefresh,  // the key is deleted, the process restarts, then refresh() reads it
    restartOnly,         // the key is deleted and the process restarts; the switch stays
};

// One toggle of the family: a row of the table in PreferenceTweaks.cpp.
struct PreferenceToggle {
    std::string id;
    Defaults defaults;
    std::optional<Defaults> defaults2;  // written like the first, never read or deleted
    PreferenceValue value = PreferenceValue::boolean;
    std::string restart;  // the process to restart: "Dock", "Finder", "SystemUIServer" or none
    bool restartAfterRun = false;
    bool refreshAfterRun = false;
    ResetVariant reset = ResetVariant::none;
};

const std::vector<PreferenceToggle>& preferenceToggles();

// The preference-backed toggles and the Dock's one-shot tweaks.
void addPreferenceTweaks(core::TweakFactory& factory, SystemServices& services);

}  // namespace quorvane::system

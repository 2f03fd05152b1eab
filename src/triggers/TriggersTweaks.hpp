#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "triggers/TriggersServices.hpp"

namespace quorvane::triggers {

// Registers the catalogue tweaks of this folder (Finder Context Menu). The
// user's script tweaks are not catalogue rows: the catalogue lists them
// from the script service.
void addTriggersTweaks(core::TweakFactory& factory, TriggersServices& services);

}  // namespace quorvane::triggers

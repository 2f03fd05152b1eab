#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Registers every tweak of this folder: the one-shot commands, the
// preference-backed toggles and the Dock's one-shots, the screenshot
// location setters and unquarantining.
void addSystemTweaks(core::TweakFactory& factory, SystemServices& services);

}  // namespace quorvane::system

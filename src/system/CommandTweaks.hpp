#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// The one-shot tweaks that are a command or two: reset Apple Events, clear
// the clipboard, eject disks, empty the trash, open the screen saver and
// restore Xcode's defaults.
void addCommandTweaks(core::TweakFactory& factory, SystemServices& services);

}  // namespace quorvane::system

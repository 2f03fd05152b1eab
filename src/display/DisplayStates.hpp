#pragma once

#include "core/restore/StateTable.hpp"
#include "display/DisplayService.hpp"
#include "platform/DesktopPicture.hpp"

namespace quorvane::display {

// The display settings the tweaks change, read and set as they do:
//   "arrangement"             every display's origin: "ID X Y" joined by "; "
//   "desktop picture SCREEN"  the picture's path
// The colour tables and mirroring last only while their switch is on: a
// restore switches it off. Main thread.
void addDisplayStates(core::StateTable& states, DisplayService& displays,
                      platform::DesktopPicture& desktopPicture);

}  // namespace quorvane::display

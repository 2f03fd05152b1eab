#pragma once

#include "core/restore/StateTable.hpp"
#include "platform/HidSystem.hpp"
#include "platform/ShellRunner.hpp"

namespace quorvane::input {

// The keyboard settings the tweaks change, read and set as they do:
//   "standard function keys"  "on" or "off" (the HID system's F-key mode)
//   "spelling language"       the spell checker's language; absent: automatic
// Either is left out without its service. Off the main thread.
void addInputStates(core::StateTable& states, platform::HidSystem* hid,
                    platform::ShellRunner* shell);

}  // namespace quorvane::input

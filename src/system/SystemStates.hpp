#pragma once

#include "core/restore/StateTable.hpp"
#include "platform/BluetoothPower.hpp"
#include "platform/Browsers.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// The system switches the tweaks change, each read and set the way its
// tweak does it, so a restore puts it back through the same means: on a Mac
// the system's own, on this machine the simulated Mac's or the desktop's.
//   "output volume", "input volume"  0–100
//   "dark mode"                      "dark" or "light"
//   "low power mode"                 "on" or "off"
//   "energy schedule"                the `pmset repeat` events, absent: none
//   "Bluetooth power"                "on" or "off"
//   "default browser SCHEME"         the handler's bundle identifier
// Any thread but the script runner's.
void addSystemStates(core::StateTable& states, SystemServices& services,
                     platform::BluetoothPower& bluetooth, platform::Browsers& browsers);

// `pmset -g sched`'s repeating events as `pmset repeat` takes them back:
// "wakeorpoweron MTWRF 08:00:00 shutdown MTWRFSU 23:00:00"; nothing: none.
std::optional<std::string> repeatEventsFrom(const std::string& schedule);

}  // namespace quorvane::system

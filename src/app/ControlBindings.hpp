#pragma once

#include "app/FrontEnd.hpp"
#include "control/ControlCommands.hpp"
#include "wiring/AppServices.hpp"

namespace quorvane::app {

// Binds every command the running instance answers on its control socket:
// the tweaks', the simulated Mac's, and the desktop's, displays' and
// input's snapshots.
void bindControlCommands(ControlCommands& commands, AppServices& services, FrontEnd& frontEnd);

}  // namespace quorvane::app

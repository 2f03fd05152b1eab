#pragma once

#include "control/ControlCommands.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "core/restore/RestoreService.hpp"

namespace quorvane::app {

// "restore": what the tweaks changed and can be put back ({"list":true}),
// or puts back the entries chosen by "ids", "tweak" (a name or an id),
// "since" or "all", with "dryRun" and "force". Answers one line a step and
// how many were restored, skipped and failed.
void bindRestoreCommand(ControlCommands& commands, core::RestoreService& restore,
                        const core::Catalogue& catalogue);

}  // namespace quorvane::app

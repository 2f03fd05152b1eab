#pragma once

#include <ostream>

#include "cli/CommandLine.hpp"
#include "core/Store.hpp"
#include "core/TweakGroup.hpp"
#include "core/catalogue/Catalogue.hpp"

namespace quorvane::cli {

// "all", "new", "popular", "random", or a category by its title or case
// name in any letter case ("Status Menu", "statusmenu").
platform::Result<core::TweakGroup> parseGroup(const std::string& name);

// Prints the tweaks the main window would list for these options: a table,
// or one JSON object per line. Returns the exit status.
int listTweaks(const ListOptions& options, const core::Catalogue& catalogue, core::Store& store,
               std::ostream& out, std::ostream& err);

}  // namespace quorvane::cli

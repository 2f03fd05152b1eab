#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CommandLine.hpp"
#include "core/Store.hpp"
#include "core/TweakGroup.hpp"
#include "core/catalogue/Catalogue.hpp"

namespace quorvane::cli {

// "all", "new", "popular", "random", or a category by its title or case
// name in any letter case ("Status Menu", "statusmenu").
platform::Result<core::TweakGroup> parseGroup(const std::string& name);

// Takes what the running instance's "list" answer says of each tweak (why
// it cannot work on its desktop, whether a toggle is on) into `options`;
// whatever in the answer is not as expected is passed over.
void takeInstanceList(const nlohmann::json& reply, ListOptions& options);

// Prints the tweaks the main window would list for these options: a table,
// or one JSON object per line. Returns the exit status.
int listTweaks(const ListOptions& options, const core::Catalogue& catalogue, core::Store& store,
               std::ostream& out, std::ostream& err);

}  // namespace quorvane::cli

#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Store.hpp"
#include "core/catalogue/CatalogueRow.hpp"
#include "core/catalogue/ScriptTweakSource.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "platform/Log.hpp"

namespace quorvane::core {

// What building the catalogue found wrong with the tweak folders'
// registrations, and which rows are still without behaviour.
struct Registration {
    std::vector<std::string> refusedIds;  // a second maker for an id
    std::vector<std::string> unknownIds;  // a maker for an id the catalogue does not have
    // A maker that refused its row's state binding, or made a tweak whose
    // state lives elsewhere than the row says.
    std::vector<std::string> mismatchedIds;
    std::vector<std::string> unavailableIds;  // catalogue order; stand-ins in this build
};

// allTweaks: the built-in tweaks in catalogue order, then the user's
// script tweaks. Built-in tweaks are made once; ids without a working maker
// get an unavailable stand-in that still holds its state. Every registration
// mistake is logged as an error when the catalogue is built.
class Catalogue {
  public:
    Catalogue(const TweakFactory& factory, Store& store, platform::Log& log,
              ScriptTweakSource& scripts);

    std::vector<std::shared_ptr<Tweak>> allTweaks() const;
    const std::vector<std::shared_ptr<Tweak>>& builtinTweaks() const { return builtins_; }
    std::shared_ptr<Tweak> find(const std::string& id) const;
    ScriptTweakSource& scripts() const { return scripts_; }
    const Registration& registration() const { return registration_; }

  private:
    std::shared_ptr<Tweak> make(const TweakFactory& factory, const CatalogueRow& row, Store& store,
                                platform::Log& log);

    std::vector<std::shared_ptr<Tweak>> builtins_;
    ScriptTweakSource& scripts_;
    Registration registration_;
};

}  // namespace quorvane::core

#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Store.hpp"
#include "core/catalogue/CatalogueRow.hpp"
#include "core/catalogue/ScriptTweakSource.hpp"
#include "platform/Log.hpp"

namespace quorvane::core {

// How a subsystem supplies the behaviour of its catalogue tweaks: one maker
// per id, given the tweak's catalogue row.
class TweakFactory {
  public:
    using Maker = std::function<std::shared_ptr<Tweak>(const CatalogueRow&)>;

    void add(std::string id, Maker maker) { makers_[std::move(id)] = std::move(maker); }
    const Maker* find(const std::string& id) const {
        auto found = makers_.find(id);
        return found == makers_.end() ? nullptr : &found->second;
    }

  private:
    std::map<std::string, Maker> makers_;
};

// allTweaks: the built-in tweaks in catalogue order, then the user's
// script tweaks. Built-in tweaks are made once; ids without a maker get an
// unavailable stand-in that still holds its state.
class Catalogue {
  public:
    Catalogue(const TweakFactory& factory, Store& store, platform::Log& log,
              ScriptTweakSource& scripts);

    std::vector<std::shared_ptr<Tweak>> allTweaks() const;
    const std::vector<std::shared_ptr<Tweak>>& builtinTweaks() const { return builtins_; }
    std::shared_ptr<Tweak> find(const std::string& id) const;
    ScriptTweakSource& scripts() const { return scripts_; }

  private:
    std::vector<std::shared_ptr<Tweak>> builtins_;
    ScriptTweakSource& scripts_;
};

}  // namespace quorvane::core

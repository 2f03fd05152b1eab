#include "core/catalogue/Catalogue.hpp"

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/UnavailableTweak.hpp"

namespace quorvane::core {

Catalogue::Catalogue(const TweakFactory& factory, Store& store, platform::Log& log,
                     ScriptTweakSource& scripts)
    : scripts_(scripts) {
    const auto& rows = builtinCatalogue();
    builtins_.reserve(rows.size());
    for (const auto& row : rows) {
        const auto* maker = factory.find(row.info.id);
        builtins_.push_back(maker ? (*maker)(row) : makeUnavailableTweak(row, store, log));
    }
}

std::vector<std::shared_ptr<Tweak>> Catalogue::allTweaks() const {
    std::vector<std::shared_ptr<Tweak>> all = builtins_;
    auto scripts = scripts_.scriptTweaks();
    all.insert(all.end(), std::make_move_iterator(scripts.begin()),
               std::make_move_iterator(scripts.end()));
    return all;
}

std::shared_ptr<Tweak> Catalogue::find(const std::string& id) const {
    for (const auto& tweak : builtins_)
        if (tweak->id() == id)
            return tweak;
    for (auto& tweak : scripts_.scriptTweaks())
        if (tweak->id() == id)
            return tweak;
    return nullptr;
}

}  // namespace quorvane::core

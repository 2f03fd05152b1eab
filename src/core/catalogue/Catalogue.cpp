#include "core/catalogue/Catalogue.hpp"

#include <set>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/UnavailableTweak.hpp"

namespace quorvane::core {

namespace {

constexpr const char* source = "Catalogue";

std::string bindingName(const StateBinding& binding) {
    if (std::holds_alternative<OneShot>(binding))
        return "one-shot";
    if (std::holds_alternative<OwnState>(binding))
        return "a state of its own";
    return std::string(std::holds_alternative<PKeyPath>(binding) ? "PState." : "MState.") +
           std::string(stateFieldName(binding));
}

}  // namespace

Catalogue::Catalogue(const TweakFactory& factory, Store& store, platform::Log& log,
                     ScriptTweakSource& scripts)
    : scripts_(scripts) {
    registration_.refusedIds = factory.refusedIds();
    for (const auto& id : registration_.refusedIds)
        log.error(source, "a second maker for " + id + " was refused; the first one is used");

    const auto& rows = builtinCatalogue();
    std::set<std::string> known;
    builtins_.reserve(rows.size());
    for (const auto& row : rows) {
        known.insert(row.info.id);
        builtins_.push_back(make(factory, row, store, log));
    }
    for (const auto& id : factory.ids()) {
        if (!known.contains(id)) {
            registration_.unknownIds.push_back(id);
            log.error(source, "a maker is registered for " + id +
                                  ", which has no catalogue row; nothing uses it");
        }
    }
}

std::shared_ptr<Tweak> Catalogue::make(const TweakFactory& factory, const CatalogueRow& row,
                                       Store& store, platform::Log& log) {
    const auto& id = row.info.id;
    if (const auto* maker = factory.find(id)) {
        auto made = (*maker)(row);
        std::string wrong;
        if (!made)
            wrong = "refused its row, whose state is " + bindingName(row.state);
        else if (made->id() != id)
            wrong = "made a tweak with the id " + made->id();
        else if (stateBindingOf(*made) != row.state)
            wrong = "made a tweak bound to " + bindingName(stateBindingOf(*made)) +
                    " where the catalogue says " + bindingName(row.state);
        if (wrong.empty()) {
            if (auto* builtin = dynamic_cast<BuiltinTweak*>(made.get());
                builtin && factory.choices())
                builtin->actThrough(*factory.choices(), factory.portsOf(id));
            return made;
        }
        registration_.mismatchedIds.push_back(id);
        log.error(source, id + "'s maker " + wrong + "; it is listed as unavailable");
    }
    registration_.unavailableIds.push_back(id);
    return makeUnavailableTweak(row, store, log);
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

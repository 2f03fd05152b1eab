#include "core/intents/TweakIntents.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

namespace {

bool isOfKind(Tweak& tweak, IntentKind kind) {
    return (asToggle(tweak) != nullptr) == (kind == IntentKind::toggle);
}

// "Set screenshot location (Simulator)": a name another tweak of the kind
// shares, with the tweak's category.
std::string qualifiedName(const Tweak& tweak) {
    const auto& categories = tweak.categories();
    if (categories.empty())
        return tweak.name();
    return tweak.name() + " (" + std::string(rawValue(categories.front())) + ")";
}

bool nameIsShared(const Catalogue& catalogue, const Tweak& named, IntentKind kind) {
    for (const auto& tweak : catalogue.allTweaks())
        if (tweak.get() != &named && isOfKind(*tweak, kind) && tweak->name() == named.name())
            return true;
    return false;
}

}  // namespace

std::vector<std::string> intentChoices(const Catalogue& catalogue, IntentKind kind) {
    std::vector<std::string> names;
    for (const auto& tweak : catalogue.allTweaks())
        if (isOfKind(*tweak, kind))
            names.push_back(nameIsShared(catalogue, *tweak, kind) ? qualifiedName(*tweak)
                                                                  : tweak->name());
    return names;
}

std::shared_ptr<Tweak> resolveIntentTweak(const Catalogue& catalogue, std::string_view name,
                                          IntentKind kind) {
    for (const auto& tweak : catalogue.allTweaks())
        if (isOfKind(*tweak, kind) && tweak->name() == name)
            return tweak;
    for (const auto& tweak : catalogue.allTweaks())
        if (isOfKind(*tweak, kind) && qualifiedName(*tweak) == name)
            return tweak;
    return nullptr;
}

}  // namespace quorvane::core

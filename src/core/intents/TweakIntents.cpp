#include "core/intents/TweakIntents.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

namespace {

bool isOfKind(Tweak& tweak, IntentKind kind) {
    return (asToggle(tweak) != nullptr) == (kind == IntentKind::toggle);
}

}  // namespace

std::vector<std::string> intentChoices(const Catalogue& catalogue, IntentKind kind) {
    std::vector<std::string> names;
    for (const auto& tweak : catalogue.allTweaks())
        if (isOfKind(*tweak, kind))
            names.push_back(tweak->name());
    return names;
}

std::shared_ptr<Tweak> resolveIntentTweak(const Catalogue& catalogue, std::string_view name,
                                          IntentKind kind) {
    for (const auto& tweak : catalogue.allTweaks())
        if (isOfKind(*tweak, kind) && tweak->name() == name)
            return tweak;
    return nullptr;
}

}  // namespace quorvane::core

#include "core/catalogue/CatalogueRow.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

bool isToggle(const StateBinding& state) {
    return !std::holds_alternative<OneShot>(state);
}

StateBinding stateBindingOf(Tweak& tweak) {
    if (auto mToggle = asMToggle(tweak))
        return mToggle->mKeyPath();
    if (auto pToggle = asPToggle(tweak))
        return pToggle->pKeyPath();
    if (asToggle(tweak))
        return OwnState{};
    return OneShot{};
}

std::string_view stateFieldName(const StateBinding& state) {
    if (auto field = std::get_if<bool MState::*>(&state)) {
        for (const auto& known : mStateFields)
            if (known.keyPath == *field)
                return known.name;
    }
    if (auto field = std::get_if<PKeyPath>(&state)) {
        for (const auto& known : pStateFields)
            if (known.keyPath == *field)
                return known.name;
    }
    return {};
}

}  // namespace quorvane::core

#include "core/TweaksHandler.hpp"

#include <algorithm>

#include "core/CanToggle.hpp"
#include "core/ShouldResetWhenTerminate.hpp"

namespace quorvane::core {

void TweaksHandler::refreshIfNeeded(Tweak& tweak) {
    if (hasRefreshed_.insert(tweak.id()).second)
        tweak.refresh();
}

void TweaksHandler::applyPersistedToggles() {
    for (const auto& tweak : catalogue_.allTweaks())
        if (auto toggle = asPToggle(*tweak); toggle && toggle->isOn())
            (void)tweak->run();  // one that cannot start again switches itself off
}

void TweaksHandler::resetOnTerminate() {
    for (const auto& tweak : catalogue_.allTweaks())
        if (auto resettable = asResetWhenTerminate(*tweak))
            resettable->resetWhenTerminate();
}

void TweaksHandler::refreshAll(Category category) {
    for (const auto& tweak : catalogue_.allTweaks()) {
        const auto& categories = tweak->categories();
        if (std::find(categories.begin(), categories.end(), category) != categories.end())
            tweak->refresh();
    }
}

}  // namespace quorvane::core

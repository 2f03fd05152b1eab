#include "core/CanToggle.hpp"

namespace quorvane::core {

bool switchAndApply(Tweak& tweak, bool on, bool applyUnchanged) {
    auto* toggle = asToggle(tweak);
    // A tweak that cannot work here keeps its stored state as it is.
    if (!toggle || !tweak.isAvailable())
        return false;
    const bool changed = toggle->isOn() != on;
    if (asMToggle(tweak) || asPToggle(tweak)) {
        toggle->setOn(on);
        if (changed || applyUnchanged)
            tweak.run();
    } else if (changed) {
        tweak.run();
    }
    return changed;
}

}  // namespace quorvane::core

#include "core/CanToggle.hpp"

namespace quorvane::core {

RunOutcome switchAndApply(Tweak& tweak, bool on, bool applyUnchanged) {
    auto* toggle = asToggle(tweak);
    if (!toggle)
        return RunOutcome::refused("it is not a switch");
    // A tweak that cannot work here keeps its stored state as it is.
    if (!tweak.isAvailable())
        return tweak.unavailableHere();
    const bool changed = toggle->isOn() != on;
    if (asMToggle(tweak) || asPToggle(tweak)) {
        toggle->setOn(on);
        if (!changed && !applyUnchanged)
            return RunOutcome::done();
        auto outcome = tweak.run();
        // Refused, nothing happened: the switch says so.
        if (!outcome.isDone() && changed && toggle->isOn() == on)
            toggle->setOn(!on);
        // A switch of our own that now holds what was asked is a change
        // of ours, to be put back like any other.
        if (auto* persisted = asPToggle(tweak);
            persisted && persisted->store().switches && changed && outcome.isDone())
            persisted->store().switches->record(tweak.id(), switchKind, tweak.id(),
                                                onOffText(!on), onOffText(on));
        return outcome;
    } else if (changed) {
        return tweak.run();
    }
    return RunOutcome::done();
}

}  // namespace quorvane::core

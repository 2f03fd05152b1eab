#include "core/TweakActions.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

void TweakActions::followUp(const std::shared_ptr<Tweak>& tweak) {
    // Read the system back once the run has started, so the cell shows what
    // really happened.
    queue_.post([tweak] { tweak->refresh(); });
    donations_.donateRunTweak(tweak->name());
}

bool TweakActions::refused(const RunOutcome& outcome) {
    if (outcome.isDone())
        return false;
    notifications_.taskRefused.emit(outcome);
    return true;
}

RunOutcome TweakActions::runOneShot(const std::shared_ptr<Tweak>& tweak) {
    if (!tweak->isAvailable()) {
        auto outcome = tweak->unavailableHere();
        refused(outcome);
        return outcome;
    }
    const auto outcome = tweak->run();
    followUp(tweak);
    if (refused(outcome))
        return outcome;
    notifications_.taskDidRun.emit(std::nullopt);
    sounds_.play("toggleOn");
    return outcome;
}

RunOutcome TweakActions::switchToggle(const std::shared_ptr<Tweak>& tweak, bool on) {
    if (!tweak->isAvailable()) {
        auto outcome = tweak->unavailableHere();
        refused(outcome);
        return outcome;
    }
    const auto outcome = switchAndApply(*tweak, on, /*applyUnchanged=*/true);
    followUp(tweak);
    if (refused(outcome))
        return outcome;
    notifications_.taskDidRun.emit(on);
    sounds_.play(on ? "toggleOn" : "toggleOff");
    return outcome;
}

}  // namespace quorvane::core

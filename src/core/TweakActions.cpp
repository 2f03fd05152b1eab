#include "core/TweakActions.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

void TweakActions::followUp(const std::shared_ptr<Tweak>& tweak) {
    // Read the system back once the run has started, so the cell shows what
    // really happened.
    queue_.post([tweak] { tweak->refresh(); });
    donations_.donateRunTweak(tweak->name());
}

bool TweakActions::refuseUnavailable(const std::shared_ptr<Tweak>& tweak) {
    auto reason = tweak->unavailableReason();
    if (!reason)
        return false;
    notifications_.taskUnavailable.emit(*reason);
    return true;
}

void TweakActions::runOneShot(const std::shared_ptr<Tweak>& tweak) {
    if (refuseUnavailable(tweak))
        return;
    tweak->run();
    followUp(tweak);
    notifications_.taskDidRun.emit(std::nullopt);
    sounds_.play("toggleOn");
}

void TweakActions::switchToggle(const std::shared_ptr<Tweak>& tweak, bool on) {
    if (refuseUnavailable(tweak))
        return;
    switchAndApply(*tweak, on, /*applyUnchanged=*/true);
    followUp(tweak);
    notifications_.taskDidRun.emit(on);
    sounds_.play(on ? "toggleOn" : "toggleOff");
}

}  // namespace quorvane::core

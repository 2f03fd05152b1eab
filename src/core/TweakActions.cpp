#include "core/TweakActions.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

void TweakActions::act(const std::shared_ptr<Tweak>& tweak) {
    tweak->run();
    // Read the system back once the run has started, so the cell shows what
    // really happened.
    queue_.post([tweak] { tweak->refresh(); });
    donations_.donateRunTweak(tweak->name());
}

void TweakActions::runOneShot(const std::shared_ptr<Tweak>& tweak) {
    act(tweak);
    notifications_.taskDidRun.emit(std::nullopt);
    sounds_.play("toggleOn");
}

void TweakActions::switchToggle(const std::shared_ptr<Tweak>& tweak, bool on) {
    // The switch is bound to the Store field of a state-backed toggle. Any
    // other toggle keeps its state itself and flips it in run(), so its
    // switch writes nothing.
    if (auto mToggle = asMToggle(*tweak))
        mToggle->setOn(on);
    else if (auto pToggle = asPToggle(*tweak))
        pToggle->setOn(on);
    act(tweak);
    notifications_.taskDidRun.emit(on);
    sounds_.play(on ? "toggleOn" : "toggleOff");
}

}  // namespace quorvane::core

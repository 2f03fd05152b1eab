#pragma once

#include "core/CanToggle.hpp"
#include "display/DisplayServices.hpp"

namespace quorvane::display {

// The main display mirrors the secondary one while on. With one display
// there is nothing to mirror: switching on is refused and the switch goes
// back off.
class MirrorDisplayTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    MirrorDisplayTask(core::TweakInfo info, bool core::MState::*field, DisplayServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override {
        if (isOn() && !services_.displays.secondaryDisplayId()) {
            setOn(false);
            return core::RunOutcome::refused(needsSecondDisplay);
        }
        services_.displays.mirror(isOn(), id());
        return core::RunOutcome::done();
    }

  private:
    DisplayServices& services_;
};

}  // namespace quorvane::display

#pragma once

#include <memory>

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "display/effects/EffectWindow.hpp"

namespace quorvane::display {

// A screen effect that runs while its switch is on. Off closes the window
// and drops it and its scene; on again makes new ones.
class EffectToggle : public core::BuiltinTweak, public core::CanMToggle {
  public:
    EffectToggle(core::TweakInfo info, bool core::MState::*field, DisplayServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() final;
    // The window while the effect shows; none while off.
    const EffectWindow* window() const { return window_.get(); }

  protected:
    // A new scene for a new window.
    virtual std::shared_ptr<particles::Scene> makeScene() = 0;
    // Told before each show which screen it covers.
    virtual void covering(const platform::Screen& /*main*/) {}

    DisplayServices& services_;

  private:
    std::unique_ptr<EffectWindow> window_;
};

}  // namespace quorvane::display

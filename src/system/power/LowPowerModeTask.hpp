#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// On a desktop, the power-saver profile of the system's power profiles
// (switched off: the balanced one). On the simulated Mac, the low power
// mode of the power tool (administrator rights). Each is read back after a
// write, in turn, so the read sees it.
class LowPowerModeTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr const char* powerSaverProfile = "power-saver";
    static constexpr const char* balancedProfile = "balanced";

    LowPowerModeTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    void refresh() override { refreshThen({}); }
    void refreshThen(std::function<void()> done) override;

  private:
    SystemServices& services_;
};

}  // namespace quorvane::system

#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Writes the low power mode with the power tool (administrator rights) and
// reads it back. Both go through the script runner, so a read made after a
// write sees it.
class LowPowerModeTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    LowPowerModeTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    void refresh() override { refreshThen({}); }
    void refreshThen(std::function<void()> done) override;

  private:
    SystemServices& services_;
};

}  // namespace quorvane::system

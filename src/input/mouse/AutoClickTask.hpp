#pragma once

#include "core/CanToggle.hpp"
#include "core/RepeatingTimer.hpp"
#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "input/mouse/MouseTweakServices.hpp"

namespace quorvane::input {

// While on, the left button clicks where the pointer is, `times` a second:
// down and up together, so no button is ever left held. Never into our own
// main window while it is key under the pointer. Needs Accessibility.
class AutoClickTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr core::IntSetting times{"AutoClickTask.Manager.times", 1, 1, 20};

    AutoClickTask(core::TweakInfo info, bool core::MState::*field, MouseTweakServices& services);

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    void start();
    void stop();
    bool isClicking() const { return timer_.isRunning(); }

  private:
    void tick();

    MouseTweakServices& services_;
    core::RepeatingTimer timer_;
    core::StopList::Entry atExit_;
};

}  // namespace quorvane::input

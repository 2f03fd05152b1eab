#pragma once

#include "core/CanToggle.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "windows/WindowTweakServices.hpp"
#include "windows/shake/MouseShakeDetector.hpp"

namespace quorvane::windows {

// While on, shaking a window by its title bar hides the other applications
// and minimizes the other windows of the shaken window's application.
class AeroShakeTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    AeroShakeTask(core::TweakInfo info, core::PKeyPath field, WindowTweakServices& services);

    core::RunOutcome run() override;

  private:
    void stop();
    void shake();

    WindowTweakServices& services_;
    MouseShakeDetector detector_;
    input::EventMonitor monitor_;
};

}  // namespace quorvane::windows

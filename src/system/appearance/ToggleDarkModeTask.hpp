#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "platform/SystemEvents.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Switches the system between the dark and the light appearance with the
// two scripts shipped with the program, and reads the appearance back from
// the global domain ("AppleInterfaceStyle" is "Dark" in dark mode and absent
// in light mode): after each switch, in turn on the script runner, and
// whenever the system says its appearance changed.
class ToggleDarkModeTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr const char* readCommand = "defaults read -g AppleInterfaceStyle";
    static constexpr const char* changedNotification = "AppleInterfaceThemeChangedNotification";

    ToggleDarkModeTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services);
    ~ToggleDarkModeTask() override;
    ToggleDarkModeTask(const ToggleDarkModeTask&) = delete;
    ToggleDarkModeTask& operator=(const ToggleDarkModeTask&) = delete;

    core::RunOutcome run() override;
    void refresh() override { refreshThen({}); }
    void refreshThen(std::function<void()> done) override;

  private:
    SystemServices& services_;
    platform::SystemEvents::Token observer_;
};

}  // namespace quorvane::system

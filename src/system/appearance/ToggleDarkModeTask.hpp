#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "platform/SystemEvents.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Switches between the dark and the light appearance (Appearance.hpp: the
// desktop's colour scheme, or the simulated Mac's), and reads it back
// after each switch, in turn on the command queue, and whenever the system
// says its appearance changed.
class ToggleDarkModeTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
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

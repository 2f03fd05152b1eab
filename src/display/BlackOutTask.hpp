#pragma once

#include <memory>

#include "core/CanToggle.hpp"
#include "display/DisplayServices.hpp"
#include "display/OverlaySet.hpp"
#include "display/ScreenSelection.hpp"

namespace quorvane::display {

// Covers the chosen screens with black windows that take every click and
// key. The only way back is the tweak's own shortcut, so it starts only
// while that shortcut is active.
class BlackOutTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr const char* needsShortcut = "You need to set keyboards shortcut to unlock later";
    static constexpr const char* noInstanceHoldsShortcut =
        "No running Quorvane holds its keyboard shortcut, so nothing could turn it off: start "
        "Quorvane, then switch it on";

    class Manager {
      public:
        explicit Manager(DisplayServices& services);
        OverlaySet windows;
        ScreenSelection screens;
    };

    BlackOutTask(core::TweakInfo info, bool core::MState::*field, DisplayServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;
    Manager& manager() const;

  private:
    void cover();

    DisplayServices& services_;
    mutable std::unique_ptr<Manager> manager_;
    core::Subscription screensChanged_;
};

}  // namespace quorvane::display

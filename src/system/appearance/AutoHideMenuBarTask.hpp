#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// The System Events scripts that set and read whether the menu bar hides
// itself. Their text is what the system has always been sent.
extern const char* const autoHideMenuBarOnSource;
extern const char* const autoHideMenuBarOffSource;
extern const char* const autoHideMenuBarReadSource;

// Hides the menu bar until the pointer reaches the top of the screen. Runs
// its scripts on the script runner, so a read follows the write before it.
class AutoHideMenuBarTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    AutoHideMenuBarTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {}

    core::RunOutcome run() override;
    void refresh() override { refreshThen({}); }
    // Anything but "true" reads as shown; a failed read leaves the switch
    // as it is and is logged.
    void refreshThen(std::function<void()> done) override;
    void reset() override;

  private:
    SystemServices& services_;
};

}  // namespace quorvane::system

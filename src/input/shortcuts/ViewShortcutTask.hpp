#pragma once

#include "core/Tweak.hpp"
#include "input/shortcuts/ViewShortcutManager.hpp"

namespace quorvane::input {

// Shows the frontmost application's menu shortcuts in a floating sheet;
// Return presses the chosen item. Needs Accessibility, and a desktop whose
// programs' menus can be read.
class ViewShortcutTask final : public core::BuiltinTweak {
  public:
    ViewShortcutTask(core::TweakInfo info, KeyboardTweakServices& services)
        : BuiltinTweak(std::move(info)), manager_(services) {}

    std::optional<std::string> ownUnavailableReason() const override {
        if (!manager_.isSupported())
            return core::notSupportedOnThisDesktop;
        return std::nullopt;
    }
    core::RunOutcome run() override { return manager_.show(); }

    ViewShortcutManager& manager() { return manager_; }

  private:
    ViewShortcutManager manager_;
};

}  // namespace quorvane::input

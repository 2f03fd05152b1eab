#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "text/TextServices.hpp"
#include "text/emoji/EmojiPickerManager.hpp"

namespace quorvane::text {

// While on, an emoji picker of its own in the menu bar.
class EmojiPickerTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    EmojiPickerTask(core::TweakInfo info, core::PKeyPath field, TextServices& services)
        : BuiltinTweak(std::move(info)), CanPToggle(services.store, field), manager_(services, id()) {}

    core::RunOutcome run() override {
        if (!isOn()) {
            manager_.removeStatusItem();
            return core::RunOutcome::done();
        }
        // Switched on with nowhere to show the item, it would show nothing:
        // it says so and stays off (also when a launch applies it again).
        if (!manager_.canShowStatusItem()) {
            setOn(false);
            return core::RunOutcome::refused(
                "the desktop has no status area (system tray) to show its item in");
        }
        manager_.showStatusItem();
        return core::RunOutcome::done();
    }

    EmojiPickerManager& manager() { return manager_; }

  private:
    EmojiPickerManager manager_;
};

}  // namespace quorvane::text

#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"

namespace quorvane::input {

// Switches the top row of keys between the media keys and F1–F12 through
// the HID system's "HIDFKeyMode". The switch mirrors the system: it is read
// back at each refresh, and after a failed write it shows what the system
// holds, not what was asked for.
class EnableStandardFKeyTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr const char* parameter = "HIDFKeyMode";

    EnableStandardFKeyTask(core::TweakInfo info, bool core::MState::*field,
                           KeyboardTweakServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.input.store, field),
          services_(services) {}

    std::optional<std::string> ownUnavailableReason() const override;
    core::RunOutcome run() override;
    void refresh() override;

  private:
    KeyboardTweakServices& services_;
};

}  // namespace quorvane::input

#pragma once

#include <optional>
#include <vector>

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"

namespace quorvane::input {

// Locks the keyboard and the mouse (to clean the keyboard, or to let a
// child watch the screen): every key and click is held back from every
// application and from the system's own shortcuts. The way out is the
// tweak's own shortcut or the unlock button on each screen, so the lock
// is refused while neither exists. A lock that ends without us (the
// watchdog, a crash) switches the tweak off and says why.
class LockScreenTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr const char* noWayOut =
        "Turn on \"Show unlock icon\" or record a shortcut for Lock keyboard first";

    LockScreenTask(core::TweakInfo info, bool core::MState::*field, KeyboardTweakServices& services)
        : BuiltinTweak(std::move(info)), CanMToggle(services.input.store, field),
          services_(services) {}
    ~LockScreenTask() override;
    LockScreenTask(const LockScreenTask&) = delete;
    LockScreenTask& operator=(const LockScreenTask&) = delete;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    bool isLocked() const { return lock_.has_value(); }
    std::size_t windowCount() const { return windows_.size(); }

  private:
    core::RunOutcome lock();
    // Gives the input back, closes every window and switches the tweak off.
    void unlock();
    void heard(const platform::InputEvent& event);
    bool showsUnlock() const;
    // The hotkey registry, once there is one.
    const platform::Hotkeys* hotkeys() const { return services_.hotkeys ? services_.hotkeys() : nullptr; }

    KeyboardTweakServices& services_;
    std::optional<platform::EventTaps::Token> lock_;
    std::vector<std::pair<platform::Overlays::Id, platform::Rect>> windows_;
};

}  // namespace quorvane::input

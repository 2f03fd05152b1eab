#pragma once

#include <optional>

#include "core/CanToggle.hpp"
#include "core/SerialExecutor.hpp"
#include "core/Tweak.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Mutes the sound output by setting its volume to 0, after noting the
// volume it had; unmuting puts that back (100 when there was none, or it
// was 0). The scripts run one after another on the audio helper, which
// alone touches the noted volume, so a mute and an unmute in quick
// succession reach the system in that order.
class MuteTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr auto settleDelay = std::chrono::seconds(2);

    MuteTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services,
             core::SerialExecutor& helper)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field),
          services_(services), helper_(helper) {}

    core::RunOutcome run() override;
    // Reads the volume back once the system has settled; muted means 0.
    void refresh() override;
    void refreshThen(std::function<void()> done) override;

  private:
    SystemServices& services_;
    core::SerialExecutor& helper_;
    // The helper's alone.
    std::optional<int> previousVolume_;
    bool mutedByUs_ = false;
};

// Mutes the microphone by setting the input volume to 0; unmuting sets it to
// the level configured in the user defaults. Reading it back, 0 means muted.
class MuteMicrophoneTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr core::IntSetting volumeSetting{"MuteMicrophoneTask.Manager.volume", 50, 1, 100};

    MuteMicrophoneTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services,
                       core::SerialExecutor& helper)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field),
          services_(services), helper_(helper) {}

    core::RunOutcome run() override;
    void refresh() override { refreshThen({}); }
    void refreshThen(std::function<void()> done) override;

  private:
    SystemServices& services_;
    core::SerialExecutor& helper_;
};

}  // namespace quorvane::system

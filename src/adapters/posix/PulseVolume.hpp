#pragma once

#include <optional>
#include <string_view>

#include "platform/ShellRunner.hpp"
#include "platform/SoundVolume.hpp"

namespace quorvane::platform::posix {

// The desktop's sound server through `pactl`: the default sink is the
// output, the default source the input. `shell` runs in this session's own
// environment (not the simulated Mac's), where pactl finds the server.
class PulseVolume final : public SoundVolume {
  public:
    explicit PulseVolume(ShellRunner& shell) : shell_(shell) {}

    // Whether a sound server answers `pactl info`.
    static bool answers(ShellRunner& shell);

    std::optional<int> volume(Channel channel) override;
    Status setVolume(Channel channel, int volume) override;

  private:
    ShellRunner& shell_;
};

// The mean of the channels' percentages in what `pactl get-sink-volume`
// prints ("Volume: front-left: 32768 /  50% / -18.06 dB,   front-right:
// ..."), rounded; nothing when there is none.
std::optional<int> volumeFromPactl(std::string_view output);

}  // namespace quorvane::platform::posix

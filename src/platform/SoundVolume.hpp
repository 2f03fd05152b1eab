#pragma once

#include <optional>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The system's sound volumes, 0–100, as AppleScript's "volume settings"
// shows them: the output (speakers) and the input (microphone). Blocks its
// caller: call it from a background executor.
class SoundVolume {
  public:
    enum class Channel { output, input };

    virtual ~SoundVolume() = default;
    // Nothing when the system cannot tell (no device).
    virtual std::optional<int> volume(Channel channel) = 0;
    // Values outside 0–100 are clamped, as the system does.
    virtual Status setVolume(Channel channel, int volume) = 0;
};

inline const char* nameOf(SoundVolume::Channel channel) {
    return channel == SoundVolume::Channel::output ? "output" : "input";
}

}  // namespace quorvane::platform

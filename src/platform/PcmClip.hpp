#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Result.hpp"
#include "platform/Sound.hpp"

namespace quorvane::platform {

// A short sound decoded once: 16-bit samples, channels interleaved.
struct PcmClip {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples{};
    std::size_t frames() const { return channels > 0 ? samples.size() / std::size_t(channels) : 0; }
};

// A RIFF WAVE file of 16-bit PCM, one or two channels. Anything else (a
// compressed format, 8 or 24 bits, a truncated or lying header) is an
// error that says what was found.
Result<PcmClip> parsePcm16Wav(std::string_view bytes);

// Up to eight clicks of one clip sounding at once, each at its own rate
// (linear resampling) and volume, mixed at the clip's sample rate. A ninth
// takes the place of the oldest. One thread.
class ClickVoices {
  public:
    static constexpr std::size_t maxVoices = 8;

    explicit ClickVoices(const PcmClip& clip) : clip_(clip) {}

    void start(Variation variation);
    // Adds the sounding clicks into `out` (frames of the clip's channels,
    // silence to begin with), clipping at full scale; voices that end are
    // freed.
    void mixInto(std::span<std::int16_t> out);
    std::size_t sounding() const { return count_; }
    std::uint64_t cutShort() const { return cutShort_; }

  private:
    struct Voice {
        double position = 0;  // in the clip's frames
        double step = 1;
        float volume = 1;
    };
    const PcmClip& clip_;
    std::array<Voice, maxVoices> voices_{};  // oldest first
    std::size_t count_ = 0;
    std::uint64_t cutShort_ = 0;
};

}  // namespace quorvane::platform

#include "platform/PcmClip.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace quorvane::platform {

namespace {

std::uint32_t le32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

std::uint16_t le16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

constexpr std::uint16_t formatPcm = 1;
constexpr std::uint16_t formatExtensible = 0xFFFE;

}  // namespace

Result<PcmClip> parsePcm16Wav(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return Error{"not a WAVE file"};
    PcmClip clip;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = le32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body)
            return Error{"the \"" + std::string(id) + "\" chunk runs past the end of the file"};
        if (id == "fmt ") {
            if (size < 16)
                return Error{"the format chunk is too short"};
            const std::uint16_t format = le16(bytes, body);
            const std::uint16_t channels = le16(bytes, body + 2);
            const std::uint32_t rate = le32(bytes, body + 4);
            const std::uint16_t bits = le16(bytes, body + 14);
            std::uint16_t subformat = format;
            if (format == formatExtensible && size >= 26)
                subformat = le16(bytes, body + 24);
            if (subformat != formatPcm)
                return Error{"format " + std::to_string(subformat) + " is not PCM"};
            if (bits != 16)
                return Error{std::to_string(bits) + "-bit samples, not 16-bit"};
            if (channels < 1 || channels > 2)
                return Error{std::to_string(channels) + " channels, not one or two"};
            if (rate < 8000 || rate > 192000)
                return Error{"a sample rate of " + std::to_string(rate) + " Hz"};
            clip.channels = channels;
            clip.sampleRate = static_cast<int>(rate);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return Error{"the samples come before their format"};
            const std::size_t frameBytes = 2 * std::size_t(clip.channels);
            const std::size_t usable = size - size % frameBytes;
            clip.samples.resize(usable / 2);
            for (std::size_t i = 0; i < clip.samples.size(); ++i)
                clip.samples[i] = static_cast<std::int16_t>(le16(bytes, body + 2 * i));
            if (clip.samples.empty())
                return Error{"no samples"};
            return clip;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return Error{haveFormat ? "no samples" : "no format chunk"};
}

void ClickVoices::start(Variation variation) {
    if (count_ == maxVoices) {
        // The oldest gives way.
        std::move(voices_.begin() + 1, voices_.end(), voices_.begin());
        --count_;
        ++cutShort_;
    }
    const double rate = std::isfinite(variation.rate) ? std::clamp(double(variation.rate), 0.25, 4.0) : 1.0;
    const float volume = std::isfinite(variation.volume) ? std::clamp(variation.volume, 0.0f, 1.0f) : 1.0f;
    voices_[count_++] = {.position = 0, .step = rate, .volume = volume};
}

void ClickVoices::mixInto(std::span<std::int16_t> out) {
    const std::size_t channels = std::size_t(std::max(clip_.channels, 1));
    const std::size_t frames = out.size() / channels;
    const std::size_t clipFrames = clip_.frames();
    if (clipFrames == 0)
        return;
    std::size_t kept = 0;
    for (std::size_t v = 0; v < count_; ++v) {
        Voice voice = voices_[v];
        for (std::size_t frame = 0; frame < frames; ++frame) {
            const auto index = static_cast<std::size_t>(voice.position);
            if (index >= clipFrames)
                break;
            const double fraction = voice.position - double(index);
            const std::size_t next = std::min(index + 1, clipFrames - 1);
            for (std::size_t c = 0; c < channels; ++c) {
                const double a = clip_.samples[index * channels + c];
                const double b = clip_.samples[next * channels + c];
                const double sample = (a + (b - a) * fraction) * double(voice.volume);
                auto& into = out[frame * channels + c];
                into = static_cast<std::int16_t>(std::clamp(double(into) + sample, -32768.0, 32767.0));
            }
            voice.position += voice.step;
        }
        if (static_cast<std::size_t>(voice.position) < clipFrames)
            voices_[kept++] = voice;
    }
    count_ = kept;
}

}  // namespace quorvane::platform

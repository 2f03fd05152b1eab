#include "system/audio/VolumeScripts.hpp"

#include <charconv>

namespace quorvane::system {

std::string readVolumeSource(Channel channel) {
    return std::string(platform::nameOf(channel)) + " volume of (get volume settings)";
}

std::string setVolumeSource(Channel channel, int volume) {
    return "set volume " + std::string(platform::nameOf(channel)) + " volume " +
           std::to_string(volume);
}

std::optional<int> volumeFrom(const ScriptResult& result) {
    if (!result.ok())
        return std::nullopt;
    const std::string& text = result.output;
    int volume = -1;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), volume);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || volume < 0 ||
        volume > 100)
        return std::nullopt;
    return volume;
}

ScriptResult awaitScript(std::future<ScriptResult> pending) {
    try {
        return pending.get();
    } catch (const std::future_error&) {
        return {.output = {}, .error = ScriptError::cancelled()};
    }
}

}  // namespace quorvane::system

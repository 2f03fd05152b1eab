#include "adapters/posix/PulseVolume.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace quorvane::platform::posix {

namespace {

const char* deviceOf(SoundVolume::Channel channel) {
    return channel == SoundVolume::Channel::output ? "sink @DEFAULT_SINK@" : "source @DEFAULT_SOURCE@";
}

std::string command(std::string_view verb, SoundVolume::Channel channel) {
    const std::string device = deviceOf(channel);
    const auto space = device.find(' ');
    // "pactl get-sink-volume @DEFAULT_SINK@"
    return "pactl " + std::string(verb) + "-" + device.substr(0, space) + "-volume " +
           device.substr(space + 1);
}

}  // namespace

std::optional<int> volumeFromPactl(std::string_view output) {
    // Only the first line: the balance line after it holds no percentages.
    output = output.substr(0, output.find('\n'));
    double sum = 0;
    int count = 0;
    for (std::size_t percent = output.find('%'); percent != std::string_view::npos;
         percent = output.find('%', percent + 1)) {
        std::size_t start = percent;
        while (start > 0 && output[start - 1] >= '0' && output[start - 1] <= '9')
            --start;
        int value = 0;
        const auto parsed = std::from_chars(output.data() + start, output.data() + percent, value);
        if (start == percent || parsed.ec != std::errc())
            continue;
        sum += value;
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    return static_cast<int>(std::lround(sum / count));
}

bool PulseVolume::answers(ShellRunner& shell) {
    // A failing command that says nothing on standard error counts as done
    // for the runner: the answer is what tells.
    auto answered = shell.run("pactl info >/dev/null 2>&1 && echo answers");
    return answered && answered.value() == "answers";
}

std::optional<int> PulseVolume::volume(Channel channel) {
    auto printed = shell_.run(command("get", channel));
    if (!printed)
        return std::nullopt;
    // Above 100 % is possible here, not on a Mac.
    if (auto found = volumeFromPactl(printed.value()))
        return std::min(*found, 100);
    return std::nullopt;
}

Status PulseVolume::setVolume(Channel channel, int volume) {
    const int clamped = std::clamp(volume, 0, 100);
    auto done = shell_.run(command("set", channel) + " " + std::to_string(clamped) + "%");
    if (!done)
        return Error{done.error().message};
    return success();
}

}  // namespace quorvane::platform::posix

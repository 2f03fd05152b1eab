#include "adapters/posix/SoundServer.hpp"

#include <unistd.h>

#include <charconv>

namespace quorvane::platform::posix {

namespace {

std::optional<float> fractionIn(std::string_view field) {
    float value = 0;
    const auto* end = field.data() + field.size();
    const auto parsed = std::from_chars(field.data(), end, value);
    // Rates and volumes stay near 1: anything far off is a record gone wrong.
    if (field.empty() || parsed.ec != std::errc() || parsed.ptr != end || !(value >= 0.0f) || value > 4.0f)
        return std::nullopt;
    return value;
}

}  // namespace

bool SoundServer::serve(HelperRecord& record) {
    if (record.descriptor >= 0)
        ::close(record.descriptor);
    const auto kind = record.kind();
    const auto name = record.field(1);
    if (kind == "play" || kind == "prepare") {
        const bool done = kind == "play" ? sound_.play(name) : sound_.prepareClicks(name);
        clicksWanted_ = clicksWanted_ || (kind == "prepare" && done);
        return sendRecord(socket_, std::vector<std::string>{"=", done ? "1" : "0"}) || true;
    }
    if (kind == "click") {
        const auto rate = fractionIn(record.field(2));
        const auto volume = fractionIn(record.field(3));
        if (rate && volume)
            sound_.play(name, {.rate = *rate, .volume = *volume});
        return true;
    }
    if (kind == "release") {
        clicksWanted_ = false;
        return true;
    }
    return false;
}

}  // namespace quorvane::platform::posix

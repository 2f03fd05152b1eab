#include "adapters/posix/SoundHelper.hpp"

#include <array>
#include <charconv>
#include <cstring>

namespace quorvane::platform::posix {

SoundHelper::SoundHelper(Log& log, std::filesystem::path program, std::chrono::milliseconds patience)
    : connection_(log, "Sound", "sound helper", std::move(program), nullptr, nullptr, patience) {}

bool SoundHelper::play(std::string_view resourceName) {
    const auto answer = connection_.ask({"play", std::string(resourceName)});
    // Started again since the clicks were prepared: they are readied there too.
    if (wanted_.load() && clicksIn_.load() != connection_.generation()) {
        std::lock_guard lock(prepareMutex_);
        prepare();
    }
    return answer && !answer->empty() && answer->front() == "1";
}

bool SoundHelper::prepare() {
    const auto answer = connection_.ask({"prepare", clickName_});
    const bool prepared = answer && !answer->empty() && answer->front() == "1";
    clicksIn_.store(prepared ? connection_.generation() : 0);
    return prepared;
}

bool SoundHelper::prepareClicks(std::string_view resourceName) {
    std::lock_guard lock(prepareMutex_);
    if (named_.load(std::memory_order_acquire) && clickName_ != resourceName)
        return false;
    if (!named_.load(std::memory_order_acquire)) {
        clickName_ = resourceName;
        named_.store(true, std::memory_order_release);
    }
    wanted_.store(true);
    return prepare();
}

void SoundHelper::releaseClicks() {
    std::lock_guard lock(prepareMutex_);
    wanted_.store(false);
    clicksIn_.store(0);
    connection_.tell({"release"});
}

bool SoundHelper::play(std::string_view resourceName, Variation variation) {
    const std::uint64_t generation = clicksIn_.load();
    if (generation == 0 || !named_.load(std::memory_order_acquire) || resourceName != clickName_ ||
        clickName_.size() > 64)
        return false;
    // "click" name rate volume, made without allocating.
    std::array<char, 128> bytes{};
    char* at = bytes.data();
    char* const end = bytes.data() + bytes.size();
    std::memcpy(at, "click", 6);
    at += 6;
    std::memcpy(at, clickName_.data(), clickName_.size());
    at += clickName_.size();
    *at++ = '\0';
    auto written = std::to_chars(at, end, variation.rate);
    if (written.ec != std::errc() || written.ptr == end)
        return false;
    at = written.ptr;
    *at++ = '\0';
    written = std::to_chars(at, end, variation.volume);
    if (written.ec != std::errc())
        return false;
    return connection_.tellAtOnce(std::string_view(bytes.data(), static_cast<std::size_t>(written.ptr - bytes.data())),
                                  generation);
}

}  // namespace quorvane::platform::posix

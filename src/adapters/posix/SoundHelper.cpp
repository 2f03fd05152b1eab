#include "adapters/posix/SoundHelper.hpp"

#include <array>
#include <charconv>
#include <cstring>

namespace quorvane::platform::posix {

SoundHelper::SoundHelper(Log& log, std::filesystem::path program, std::chrono::milliseconds patience)
    : log_(log),
      connection_(log, "Sound", "sound helper", std::move(program), nullptr, nullptr, patience),
      player_([this] { playInTurn(); }) {}

SoundHelper::~SoundHelper() {
    {
        std::lock_guard lock(playMutex_);
        ending_ = true;
    }
    queued_.notify_all();
    player_.join();
    connection_.close();
}

bool SoundHelper::play(std::string_view resourceName) {
    std::lock_guard lock(playMutex_);
    if (resourceName.empty() || unknown_.contains(resourceName))
        return false;
    // Sounds that pile up behind a helper starting are stale: the newest few play.
    if (toPlay_.size() >= 4)
        toPlay_.pop_front();
    toPlay_.emplace_back(resourceName);
    queued_.notify_one();
    return true;
}

void SoundHelper::playInTurn() {
    std::unique_lock lock(playMutex_);
    for (;;) {
        queued_.wait(lock, [&] { return ending_ || !toPlay_.empty(); });
        if (ending_)
            return;
        const std::string name = std::move(toPlay_.front());
        toPlay_.pop_front();
        lock.unlock();
        const auto answer = connection_.ask({"play", name});
        {
            // Started again since the clicks were readied: they are readied there too.
            std::lock_guard prepared(prepareMutex_);
            if (wanted_.load() && clicksIn_.load() != connection_.generation())
                prepare();
        }
        lock.lock();
        if (answer && !answer->empty() && answer->front() == "0" && unknown_.insert(name).second)
            log_.warning("Sound", "no sound named " + name);
    }
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
    connection_.tell({"release"}, 0, true);
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

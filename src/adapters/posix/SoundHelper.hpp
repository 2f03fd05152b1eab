#pragma once

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <set>
#include <thread>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Log.hpp"
#include "platform/Sound.hpp"
#include "adapters/posix/HelperConnection.hpp"

namespace quorvane::platform::posix {

// Sounds through quorvane-sound, a process of its own (see SoundServer):
// the audio libraries load there and leave with it a while after the last
// sound, unless clicks are wanted. A sound is handed to a thread of this
// adapter, which starts the helper when needed: `play` returns at once, and
// a name the helper did not know is refused from then on. A click is one
// record sent without waiting; after the helper crashed, clicks stay silent
// until the next sound starts it again and readies them there. Any thread.
class SoundHelper final : public Sound {
  public:
    SoundHelper(Log& log, std::filesystem::path program,
                std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~SoundHelper() override;
    SoundHelper(const SoundHelper&) = delete;
    SoundHelper& operator=(const SoundHelper&) = delete;

    bool play(std::string_view resourceName) override;
    bool prepareClicks(std::string_view resourceName) override;
    bool play(std::string_view resourceName, Variation variation) override;
    void releaseClicks() override;

    std::optional<pid_t> helper() const { return connection_.helper(); }

  private:
    bool prepare();
    void playInTurn();

    Log& log_;
    HelperConnection connection_;
    std::mutex playMutex_;  // what follows
    std::condition_variable queued_;
    std::deque<std::string> toPlay_;
    std::set<std::string, std::less<>> unknown_;
    bool ending_ = false;
    std::mutex prepareMutex_;
    // The one sound clicked, set by the first prepare and kept: a click
    // reads it without a lock.
    std::string clickName_;
    std::atomic<bool> named_{false};
    std::atomic<bool> wanted_{false};
    std::atomic<std::uint64_t> clicksIn_{0};  // the helper generation they are prepared in
    std::thread player_;  // last: it starts with everything above made
};

}  // namespace quorvane::platform::posix

#pragma once

#include <optional>

#include "platform/MainQueue.hpp"
#include "platform/Pasteboard.hpp"
#include "text/PlainTextService.hpp"

namespace quorvane::text {

// Watches the pasteboard for Auto Plain text: twice a second it reads the
// change count, and each new count (the first after start always) asks the
// service for a conversion. Where the pasteboard announces its changes, the
// count is read only half a second after one, so an idle clipboard costs
// no wake-ups at all. Main thread.
class ClipboardManager {
  public:
    static constexpr auto interval = std::chrono::milliseconds(500);

    ClipboardManager(platform::Pasteboard& pasteboard, PlainTextService& service,
                     platform::MainQueue& mainQueue);
    ~ClipboardManager();
    ClipboardManager(const ClipboardManager&) = delete;
    ClipboardManager& operator=(const ClipboardManager&) = delete;

    void start();
    void stop();
    bool isWatching() const { return watching_; }

  private:
    void tick();
    void changed();

    platform::Pasteboard& pasteboard_;
    PlainTextService& service_;
    platform::MainQueue& mainQueue_;
    platform::TimerToken timer_;
    std::optional<long> lastCount_;
    bool watching_ = false;
    bool announced_ = false;  // the pasteboard tells us of changes
    bool tickPending_ = false;
};

}  // namespace quorvane::text

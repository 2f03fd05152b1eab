#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/MainQueue.hpp"

namespace quorvane::platform::memory {

// A main queue on a virtual clock. Nothing runs until the owner says so:
// drain() runs what was posted, advance() moves the clock and runs every
// delayed call that falls due on the way, in deadline order. Tests use it to
// check a 1-second label or a 0.2-second debounce exactly, without sleeping.
class ManualMainQueue final : public MainQueue {
  public:
    void post(Task task) override;
    Instant now() const override { return now_; }

    // Runs posted tasks, including those they post, until none is left.
    void drain();

    template <class Rep, class Period>
    void advance(std::chrono::duration<Rep, Period> by) {
        advanceBy(std::chrono::round<Duration>(by));
    }

    // Delayed calls not yet run nor cancelled.
    std::size_t pendingTimers() const;

  protected:
    TimerToken schedule(Duration delay, Task task) override;

  private:
    struct Timer {
        Instant deadline;
        std::uint64_t sequence;
        std::shared_ptr<bool> cancelled;
        Task task;
    };

    void advanceBy(Duration by);

    Instant now_{0};
    std::uint64_t nextSequence_ = 0;
    std::vector<Timer> timers_;
    mutable std::mutex postedMutex_;
    std::vector<Task> posted_;
};

}  // namespace quorvane::platform::memory

#pragma once

#include <functional>

#include "platform/MainQueue.hpp"

namespace quorvane::core {

// Calls a task every `interval` on the main queue until stopped. Ticks
// keep to the schedule they started on: a late tick does not push the
// next one back, and ticks missed while the main thread was busy are
// skipped rather than run in a burst. Main thread; destroying it stops it.
class RepeatingTimer {
  public:
    explicit RepeatingTimer(platform::MainQueue& queue) : queue_(queue) {}
    ~RepeatingTimer() { stop(); }
    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

    // Restarts with the new interval; the first tick comes one interval from now.
    void start(platform::Duration interval, std::function<void()> task);
    void stop();
    bool isRunning() const { return running_; }

  private:
    void arm();

    platform::MainQueue& queue_;
    platform::Duration interval_{};
    platform::Instant next_{};
    std::function<void()> task_;
    platform::TimerToken timer_;
    bool running_ = false;
};

}  // namespace quorvane::core

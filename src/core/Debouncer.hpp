#pragma once

#include <optional>

#include "platform/MainQueue.hpp"

namespace quorvane::core {

// Runs the last call it was given once the calls have paused for `delay`.
// With `maxWait`, a steady stream of calls cannot hold the work back for
// longer than that: it runs at most `maxWait` after the first waiting call.
// Lives on the main thread; destroying it cancels what is pending. A call
// while one waits only moves the deadline: one timer runs at a time, so a
// stream of pointer events costs no allocation per event.
class Debouncer {
  public:
    Debouncer(platform::MainQueue& queue, platform::Duration delay,
              std::optional<platform::Duration> maxWait = std::nullopt);
    ~Debouncer();
    Debouncer(const Debouncer&) = delete;
    Debouncer& operator=(const Debouncer&) = delete;

    void call(platform::MainQueue::Task task);
    void cancel();
    bool isPending() const { return pending_.has_value(); }

  private:
    void arm(platform::Duration wait);
    void fire();

    platform::MainQueue& queue_;
    platform::Duration delay_;
    std::optional<platform::Duration> maxWait_;
    platform::TimerToken timer_;
    bool armed_ = false;
    platform::Instant deadline_{};
    platform::MainQueue::Task task_;
    std::optional<platform::Instant> pending_;  // when the first waiting call came
};

}  // namespace quorvane::core

#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace quorvane::platform {

// Time on the main queue's monotonic clock. Integer nanoseconds, so that a
// virtual clock advanced by 0.1 s three times lands exactly on 0.3 s.
using Duration = std::chrono::nanoseconds;
using Instant = std::chrono::nanoseconds;

// A handle to one delayed call. Cancelling is idempotent and safe after the
// call has run; dropping the handle does not cancel.
class TimerToken {
  public:
    TimerToken() = default;
    explicit TimerToken(std::shared_ptr<bool> cancelled) : cancelled_(std::move(cancelled)) {}

    void cancel() {
        if (cancelled_)
            *cancelled_ = true;
    }
    bool isCancelled() const { return cancelled_ && *cancelled_; }

  private:
    std::shared_ptr<bool> cancelled_;
};

// The thread that owns the Store, the list models and every UI object.
// post() may be called from any thread; after() and now() belong to the main
// thread, like everything they schedule.
class MainQueue {
  public:
    using Task = std::function<void()>;

    virtual ~MainQueue() = default;

    virtual void post(Task task) = 0;
    virtual Instant now() const = 0;

    template <class Rep, class Period>
    TimerToken after(std::chrono::duration<Rep, Period> delay, Task task) {
        return schedule(std::chrono::round<Duration>(delay), std::move(task));
    }

  protected:
    virtual TimerToken schedule(Duration delay, Task task) = 0;
};

}  // namespace quorvane::platform

#include "core/RepeatingTimer.hpp"

#include <algorithm>

namespace quorvane::core {

void RepeatingTimer::start(platform::Duration interval, std::function<void()> task) {
    stop();
    interval_ = std::max(interval, platform::Duration{1});
    task_ = std::move(task);
    running_ = true;
    next_ = queue_.now() + interval_;
    arm();
}

void RepeatingTimer::stop() {
    timer_.cancel();
    running_ = false;
}

void RepeatingTimer::arm() {
    timer_ = queue_.after(std::max(next_ - queue_.now(), platform::Duration{0}), [this] {
        const auto now = queue_.now();
        // Skip what a busy main thread missed, keeping the phase.
        while (next_ <= now)
            next_ += interval_;
        arm();
        // Last: the task may stop or restart the timer.
        auto task = task_;
        task();
    });
}

}  // namespace quorvane::core

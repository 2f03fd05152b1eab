#include "core/Debouncer.hpp"

#include <algorithm>

namespace quorvane::core {

Debouncer::Debouncer(platform::MainQueue& queue, platform::Duration delay,
                     std::optional<platform::Duration> maxWait)
    : queue_(queue), delay_(delay), maxWait_(maxWait) {}

Debouncer::~Debouncer() {
    cancel();
}

void Debouncer::call(platform::MainQueue::Task task) {
    timer_.cancel();
    const platform::Instant now = queue_.now();
    if (!pending_)
        pending_ = now;
    platform::Duration wait = delay_;
    if (maxWait_)
        wait = std::clamp(*pending_ + *maxWait_ - now, platform::Duration::zero(), delay_);
    timer_ = queue_.after(wait, [this, task = std::move(task)] {
        pending_.reset();
        task();
    });
}

void Debouncer::cancel() {
    timer_.cancel();
    pending_.reset();
}

}  // namespace quorvane::core

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
    task_ = std::move(task);
    const platform::Instant now = queue_.now();
    if (!pending_)
        pending_ = now;
    platform::Duration wait = delay_;
    if (maxWait_)
        wait = std::clamp(*pending_ + *maxWait_ - now, platform::Duration::zero(), delay_);
    deadline_ = now + wait;
    if (!armed_)
        arm(wait);
}

void Debouncer::arm(platform::Duration wait) {
    armed_ = true;
    timer_ = queue_.after(wait, [this] { fire(); });
}

void Debouncer::fire() {
    armed_ = false;
    const platform::Instant now = queue_.now();
    if (now < deadline_) {
        arm(deadline_ - now);  // called again meanwhile
        return;
    }
    pending_.reset();
    // Taken out first: the task may call again.
    auto task = std::move(task_);
    task_ = nullptr;
    if (task)
        task();
}

void Debouncer::cancel() {
    timer_.cancel();
    armed_ = false;
    task_ = nullptr;
    pending_.reset();
}

}  // namespace quorvane::core

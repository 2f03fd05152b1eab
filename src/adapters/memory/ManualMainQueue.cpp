#include "adapters/memory/ManualMainQueue.hpp"

#include <algorithm>

namespace quorvane::platform::memory {

void ManualMainQueue::post(Task task) {
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(task));
}

void ManualMainQueue::drain() {
    for (;;) {
        std::vector<Task> batch;
        {
            std::lock_guard lock(postedMutex_);
            batch.swap(posted_);
        }
        if (batch.empty())
            return;
        for (auto& task : batch)
            task();
    }
}

TimerToken ManualMainQueue::schedule(Duration delay, Task task) {
    auto cancelled = std::make_shared<bool>(false);
    timers_.push_back(
        {now_ + std::max(delay, Duration::zero()), nextSequence_++, cancelled, std::move(task)});
    return TimerToken(cancelled);
}

void ManualMainQueue::advanceBy(Duration by) {
    const Instant target = now_ + std::max(by, Duration::zero());
    drain();
    for (;;) {
        auto due =
            std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
                return a.deadline != b.deadline ? a.deadline < b.deadline : a.sequence < b.sequence;
            });
        if (due == timers_.end() || due->deadline > target)
            break;
        Timer timer = std::move(*due);
        timers_.erase(due);
        now_ = std::max(now_, timer.deadline);
        if (!*timer.cancelled) {
            *timer.cancelled = true;  // a fired timer reports itself as no longer pending
            timer.task();
        }
        drain();
    }
    now_ = target;
}

std::size_t ManualMainQueue::pendingTimers() const {
    return static_cast<std::size_t>(std::count_if(timers_.begin(), timers_.end(),
                                                  [](const Timer& t) { return !*t.cancelled; }));
}

}  // namespace quorvane::platform::memory

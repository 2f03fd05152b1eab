#include "adapters/qt/QtMainQueue.hpp"

#include <QMetaObject>
#include <QTimer>

namespace quorvane::platform::qt {

QtMainQueue::QtMainQueue() {
    clock_.start();
}

void QtMainQueue::post(Task task) {
    ++*pending_;
    QMetaObject::invokeMethod(
        &context_,
        [pending = pending_, task = std::move(task)] {
            --*pending;
            task();
        },
        Qt::QueuedConnection);
}

Instant QtMainQueue::now() const {
    return Instant(clock_.nsecsElapsed());
}

TimerToken QtMainQueue::schedule(Duration delay, Task task) {
    auto cancelled = std::make_shared<bool>(false);
    arm(now() + std::max(delay, Duration::zero()), cancelled, std::move(task));
    return TimerToken(cancelled);
}

void QtMainQueue::arm(Instant deadline, std::shared_ptr<bool> cancelled, Task task) {
    // A Qt timer takes its milliseconds as an int (some 24 days): a longer
    // delay (a keep-awake of days, a sleep in 9999 hours) is waited out in
    // steps of a day towards the same deadline, the same call cancelling
    // every step.
    constexpr Duration longestStep = std::chrono::hours(24);
    const Duration delay = std::max(deadline - now(), Duration::zero());
    if (delay > longestStep) {
        QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(longestStep),
                           Qt::PreciseTimer, &context_,
                           [this, deadline, cancelled, task = std::move(task)] {
                               if (!*cancelled)
                                   arm(deadline, cancelled, task);
                           });
        return;
    }
    // Round up, so a call never runs before its delay has passed.
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(delay);
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &context_,
                       [cancelled = std::move(cancelled), task = std::move(task)] {
                           if (*cancelled)
                               return;
                           *cancelled = true;
                           task();
                       });
}

}  // namespace quorvane::platform::qt

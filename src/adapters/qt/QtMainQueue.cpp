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
    // Round up, so a call never runs before its delay has passed.
    auto milliseconds =
        std::chrono::ceil<std::chrono::milliseconds>(std::max(delay, Duration::zero()));
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &context_,
                       [cancelled, task = std::move(task)] {
                           if (*cancelled)
                               return;
                           *cancelled = true;
                           task();
                       });
    return TimerToken(cancelled);
}

}  // namespace quorvane::platform::qt

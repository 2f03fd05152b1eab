#include "input/mouse/Jiggler.hpp"

#include <pthread.h>

namespace quorvane::input {

bool Jiggler::jiggle(std::vector<JiggleStep> path) {
    std::lock_guard lock(mutex_);
    if (busy_ || stopping_ || path.empty())
        return false;
    path_ = std::move(path);
    busy_ = true;
    cancelled_ = false;
    if (!thread_.joinable())
        thread_ = std::thread([this] { loop(); });
    wake_.notify_all();
    return true;
}

void Jiggler::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    wake_.notify_all();
}

void Jiggler::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        cancelled_ = true;
        wake_.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
}

bool Jiggler::isJiggling() const {
    std::lock_guard lock(mutex_);
    return busy_;
}

void Jiggler::loop() {
    ::pthread_setname_np(::pthread_self(), "Jiggler");
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || (busy_ && !path_.empty()); });
        if (stopping_)
            break;
        const auto path = std::move(path_);
        path_.clear();
        for (const auto& step : path) {
            if (cancelled_)
                break;
            // Posted under the lock: cancel() cannot return while a point
            // is on its way.
            post_(step.at);
            wake_.wait_for(lock, step.pauseAfter, [this] { return cancelled_; });
        }
        busy_ = false;
    }
    busy_ = false;
}

}  // namespace quorvane::input

#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "platform/MainQueue.hpp"

namespace quorvane::core {

// Passes values on at most once per `interval`, keeping the latest: the first
// value after a quiet interval goes out at once; values that arrive within
// the interval replace each other and the survivor goes out when it ends.
// Lives on the main thread; destroying it drops what is held back.
template <class T>
class Throttle {
  public:
    using Deliver = std::function<void(const T&)>;

    Throttle(platform::MainQueue& queue, platform::Duration interval, Deliver deliver)
        : queue_(queue), interval_(interval), deliver_(std::move(deliver)) {}
    ~Throttle() { window_.cancel(); }
    Throttle(const Throttle&) = delete;
    Throttle& operator=(const Throttle&) = delete;

    void send(T value) {
        if (windowOpen_) {
            latest_ = std::move(value);
            return;
        }
        openWindow();
        deliver_(value);
    }

  private:
    void openWindow() {
        windowOpen_ = true;
        window_ = queue_.after(interval_, [this] { closeWindow(); });
    }

    void closeWindow() {
        windowOpen_ = false;
        if (!latest_)
            return;
        T value = std::move(*latest_);
        latest_.reset();
        openWindow();
        deliver_(value);
    }

    platform::MainQueue& queue_;
    platform::Duration interval_;
    Deliver deliver_;
    platform::TimerToken window_;
    bool windowOpen_ = false;
    std::optional<T> latest_;
};

}  // namespace quorvane::core

#pragma once

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace quorvane::app {

// With QUORVANE_TRACE_STARTUP set, each step of start-up says on standard
// error how long it took: where the time to the first window goes.
class StartupTrace {
  public:
    StartupTrace() : enabled_(std::getenv("QUORVANE_TRACE_STARTUP") != nullptr) {}

    void mark(std::string_view step) {
        if (!enabled_)
            return;
        const auto now = Clock::now();
        std::cerr << "startup: " << step << " " << millis(now - last_) << " ms (at "
                  << millis(now - start_) << " ms)\n";
        last_ = now;
    }

  private:
    using Clock = std::chrono::steady_clock;
    static double millis(Clock::duration elapsed) {
        return std::chrono::duration<double, std::milli>(elapsed).count();
    }

    bool enabled_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_ = start_;
};

}  // namespace quorvane::app

#pragma once

#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Log.hpp"
#include "platform/PcmClip.hpp"
#include "platform/SpscQueue.hpp"

namespace quorvane::platform::qt {

// Clicks of one clip, mixed on a thread of their own and pulled by the
// default audio output about 10 ms at a time, or, with `silent` (or no
// output device), by a sink that takes 5 ms every 5 ms and plays nothing.
// After `idleAfter` without a click the output is suspended and the thread
// sleeps; the next click wakes it.
class ClickMixer {
  public:
    struct Options {
        bool silent = false;
        std::chrono::milliseconds idleAfter{2000};
    };
    static constexpr std::size_t queueSize = 64;

    ClickMixer(PcmClip clip, Log& log, Options options);
    ~ClickMixer();
    ClickMixer(const ClickMixer&) = delete;
    ClickMixer& operator=(const ClickMixer&) = delete;

    // One click, from one producing thread: no lock, no allocation, no
    // wait. False when 64 wait already (counted as dropped).
    bool push(Variation variation);

    std::uint64_t started() const { return started_.load(); }
    std::uint64_t dropped() const { return dropped_.load(); }
    bool isSuspended() const { return sleeping_.load(); }
    bool isSilent() const { return silent_.load(); }
    // How long the last clicks (up to 1,024) waited from push to their
    // first mixed sample, in microseconds.
    std::vector<std::int64_t> latencies() const;
    // An object living on the mixer's thread, to run something there.
    QObject* threadContext() const;

  private:
    class Worker;
    struct Request {
        Variation variation{};
        std::int64_t pushedAt = 0;  // steady clock, ns
    };

    SpscQueue<Request, queueSize> queue_;
    std::atomic<bool> sleeping_{false};
    std::atomic<bool> silent_{false};
    std::atomic<std::uint64_t> started_{0};
    std::atomic<std::uint64_t> dropped_{0};
    int wakeFd_ = -1;
    QThread thread_;
    Worker* worker_ = nullptr;
};

}  // namespace quorvane::platform::qt

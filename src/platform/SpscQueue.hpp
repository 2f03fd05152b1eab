#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <optional>

namespace quorvane::platform {

// A bounded queue between exactly one producing thread and one consuming
// thread: neither locks, allocates nor waits. A push onto a full queue
// fails; the producer decides what that costs.
template <class T, std::size_t Capacity>
class SpscQueue {
    static_assert(Capacity > 0 && (Capacity & (Capacity - 1)) == 0, "a power of two");

  public:
    bool push(const T& item) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == Capacity)
            return false;
        items_[tail & (Capacity - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }
    std::optional<T> pop() {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire))
            return std::nullopt;
        T item = items_[head & (Capacity - 1)];
        head_.store(head + 1, std::memory_order_release);
        return item;
    }
    bool empty() const {
        return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire);
    }

  private:
    std::array<T, Capacity> items_{};
    alignas(64) std::atomic<std::size_t> head_{0};  // the consumer's
    alignas(64) std::atomic<std::size_t> tail_{0};  // the producer's
};

}  // namespace quorvane::platform

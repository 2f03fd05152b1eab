#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quorvane::core {

// Ends an observation when it goes away (or on cancel()). Safe to outlive
// what it observes.
class Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { cancel(); }

    void cancel() {
        if (auto cancel = std::exchange(cancel_, nullptr))
            cancel();
    }

  private:
    std::function<void()> cancel_;
};

// A list of observers called in subscription order. An observer may
// subscribe or cancel others, or itself, while being called: a cancelled
// observer is not called again, a new one is first called on the next emit.
template <class... Args>
class Signal {
  public:
    using Observer = std::function<void(const Args&...)>;

    Signal() : slots_(std::make_shared<Slots>()) {}
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    [[nodiscard]] Subscription subscribe(Observer observer) {
        auto slot = std::make_shared<Slot>(Slot{std::move(observer), true});
        slots_->push_back(slot);
        std::weak_ptr<Slots> weakSlots = slots_;
        std::weak_ptr<Slot> weakSlot = slot;
        return Subscription([weakSlots, weakSlot] {
            auto liveSlots = weakSlots.lock();
            auto liveSlot = weakSlot.lock();
            if (!liveSlot)
                return;
            liveSlot->alive = false;
            if (liveSlots)
                std::erase(*liveSlots, liveSlot);
        });
    }

    void emit(const Args&... args) const {
        const Slots snapshot = *slots_;
        for (const auto& slot : snapshot)
            if (slot->alive)
                slot->observer(args...);
    }

    std::size_t observerCount() const { return slots_->size(); }

  private:
    struct Slot {
        Observer observer;
        bool alive;
    };
    using Slots = std::vector<std::shared_ptr<Slot>>;

    std::shared_ptr<Slots> slots_;
};

}  // namespace quorvane::core

#include "platform/MonitorRegistry.hpp"

#include <algorithm>

namespace quorvane::platform {

MonitorRegistry::Token MonitorRegistry::add(EventMask mask, Handler handler) {
    const Token token = next_++;
    // Entries are held by pointer, so a handler that adds one while it runs
    // does not move the entry being called.
    entries_.push_back(std::make_unique<Entry>(Entry{token, mask, std::move(handler), true}));
    if (++live_ == 1 && activity_)
        activity_(true);
    return token;
}

void MonitorRegistry::remove(Token token) {
    for (auto& entry : entries_) {
        if (entry->token != token || !entry->alive)
            continue;
        entry->alive = false;
        if (dispatching_ > 0)
            removedWhileDispatching_ = true;  // the handler may be running
        else
            compact();
        if (--live_ == 0 && activity_)
            activity_(false);
        return;
    }
}

bool MonitorRegistry::dispatch(const InputEvent& event) {
    ++dispatching_;
    bool consumed = false;
    // Those added during this dispatch lie past `count`.
    const std::size_t count = entries_.size();
    for (std::size_t i = 0; i < count && !consumed; ++i) {
        Entry* entry = entries_[i].get();
        if (entry->alive && matches(entry->mask, event.type))
            consumed = entry->handler(event);
    }
    if (--dispatching_ == 0 && removedWhileDispatching_) {
        removedWhileDispatching_ = false;
        compact();
    }
    return consumed;
}

EventMask MonitorRegistry::combinedMask() const {
    EventMask mask = 0;
    for (const auto& entry : entries_)
        if (entry->alive)
            mask |= entry->mask;
    return mask;
}

void MonitorRegistry::compact() {
    std::erase_if(entries_, [](const auto& entry) { return !entry->alive; });
}

}  // namespace quorvane::platform

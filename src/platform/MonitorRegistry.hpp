#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/InputEvent.hpp"

namespace quorvane::platform {

// The monitors of one event stream, called in the order they were added.
// A handler may add or remove monitors, its own included, while events are
// dispatched: a removed monitor is not called again, an added one first
// gets the next event. The adapter hears when the first monitor arrives and
// when the last one goes, and keeps its event source only in between.
// Dispatch allocates nothing. One thread (the main thread).
class MonitorRegistry {
  public:
    using Token = std::uint64_t;
    // Answers true to consume the event (local monitors only).
    using Handler = std::function<bool(const InputEvent&)>;
    using Activity = std::function<void(bool active)>;

    explicit MonitorRegistry(Activity activity = {}) : activity_(std::move(activity)) {}
    MonitorRegistry(const MonitorRegistry&) = delete;
    MonitorRegistry& operator=(const MonitorRegistry&) = delete;

    Token add(EventMask mask, Handler handler);
    // Unknown or already removed tokens are ignored.
    void remove(Token token);
    // Whether a handler consumed it.
    bool dispatch(const InputEvent& event);

    std::size_t size() const { return live_; }
    // Every type some monitor wants.
    EventMask combinedMask() const;

  private:
    struct Entry {
        Token token;
        EventMask mask;
        Handler handler;
        bool alive;
    };
    void compact();

    Activity activity_;
    std::vector<std::unique_ptr<Entry>> entries_;
    Token next_ = 1;
    std::size_t live_ = 0;
    int dispatching_ = 0;
    bool removedWhileDispatching_ = false;
};

}  // namespace quorvane::platform

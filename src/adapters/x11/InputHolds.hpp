#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/MainQueue.hpp"
#include "platform/Result.hpp"
#include "adapters/x11/WindowHolds.hpp"

struct xcb_connection_t;

namespace quorvane::platform::x11 {

// The one place the program grabs the keyboard and the pointer, and where
// it watches the windows that cover the screens and take every key: the
// input lock's grab of the root, the screen pickers' grab of their frozen
// screens, Black out's windows. While anything is held, the main thread
// beats every 250 ms and a watchdog thread checks the beat; once it has
// not come for `EventTaps::watchdogLimit`, the watchdog ends the grab and
// unmaps the windows itself, over the same connection (xcb serves any
// thread), and each holder hears why when the main thread is back. The
// server also ends the grab with the connection however the program ends.
// Main thread only, but for the watchdog.
class InputHolds {
  public:
    using Id = std::uint64_t;
    using Ended = std::function<void(const std::string& why)>;
    static constexpr const char* stalled = "the main thread stopped answering for 2 seconds";

    // `connection` is the owner's and outlives us.
    InputHolds(MainQueue& mainQueue, xcb_connection_t* connection);
    ~InputHolds();
    InputHolds(const InputHolds&) = delete;
    InputHolds& operator=(const InputHolds&) = delete;

    // Grabs the keyboard and the pointer for `window`, with owner events:
    // what happens over the connection's own windows goes to them, the rest
    // to `window`, with `pointerEvents` for the pointer. `covering` are
    // unmapped if the watchdog lets go.
    Result<Id> grab(std::uint32_t window, std::uint16_t pointerEvents,
                    std::vector<std::uint32_t> covering, Ended ended);
    // Watches windows that take every key, grabbing nothing.
    Id cover(std::vector<std::uint32_t> windows, Ended ended);
    // Watches windows the toolkit grabbed the input for itself (a popup
    // menu): letting go ends that grab too.
    Id watchGrab(std::vector<std::uint32_t> windows, Ended ended);
    // Ends a hold without telling it; the grab ends with the last hold
    // that grabs.
    void release(Id id);

  private:
    struct Hold {
        bool grabs = false;
        bool toolkitGrabs = false;  // grabbed by Qt, not by us
        std::vector<std::uint32_t> covering;
        Ended ended;
    };
    Id add(Hold hold);
    // With `watching_` false: wakes the watchdog, waits for its end and
    // stops the beat.
    void stopWatching();
    void beat();
    void watch();
    void letGo();
    void tellLetGo();

    MainQueue& mainQueue_;
    xcb_connection_t* connection_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // Shared with the watchdog.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<Id, Hold> holds_;
    std::map<Id, Ended> letGo_;  // let go by the watchdog, not told yet
    bool watching_ = false;
    std::atomic<std::int64_t> lastBeat_{0};
    // Main thread.
    Id next_ = 1;
    std::thread watchdog_;
    TimerToken beat_;
};

// The holds over Qt's own connection, for the program's windows; nothing
// unless Qt runs on xcb. What the X11 module hands the program.
std::unique_ptr<WindowHolds> connectWindowHolds(MainQueue& mainQueue);

}  // namespace quorvane::platform::x11

#include "adapters/x11/InputHolds.hpp"

#include <xcb/xcb.h>

#include <pthread.h>

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/EventMonitors.hpp"

namespace quorvane::platform::x11 {

namespace {

constexpr auto beatInterval = std::chrono::milliseconds(250);
constexpr auto checkInterval = std::chrono::milliseconds(100);

std::int64_t nowMillis() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ungrabInput(xcb_connection_t* connection) {
    xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_flush(connection);
}

}  // namespace

InputHolds::InputHolds(MainQueue& mainQueue, xcb_connection_t* connection)
    : mainQueue_(mainQueue), connection_(connection) {}

InputHolds::~InputHolds() {
    bool grabbed = false;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, hold] : holds_)
            grabbed = grabbed || hold.grabs;
        holds_.clear();
        letGo_.clear();
        watching_ = false;
    }
    stopWatching();
    if (grabbed)
        ungrabInput(connection_);
}

void InputHolds::stopWatching() {
    wake_.notify_all();
    if (watchdog_.joinable())
        watchdog_.join();
    beat_.cancel();
}

Result<InputHolds::Id> InputHolds::grab(std::uint32_t window, std::uint16_t pointerEvents,
                                        std::vector<std::uint32_t> covering, Ended ended) {
    auto* keyboard = xcb_grab_keyboard_reply(
        connection_,
        xcb_grab_keyboard(connection_, 1, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                          XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool keyboardHeld = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(keyboard);
    auto* pointer = xcb_grab_pointer_reply(
        connection_,
        xcb_grab_pointer(connection_, 1, window, pointerEvents, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    const bool pointerHeld = pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(pointer);
    if (!keyboardHeld || !pointerHeld) {
        // Half a grab is no grab; one that another hold of ours has stays.
        bool othersGrab = false;
        {
            std::lock_guard lock(mutex_);
            othersGrab = std::any_of(holds_.begin(), holds_.end(),
                                     [](const auto& entry) { return entry.second.grabs; });
        }
        if (!othersGrab)
            ungrabInput(connection_);
        return Error{"another program holds the keyboard or the pointer"};
    }
    return add({.grabs = true, .covering = std::move(covering), .ended = std::move(ended)});
}

InputHolds::Id InputHolds::cover(std::vector<std::uint32_t> windows, Ended ended) {
    return add({.grabs = false, .covering = std::move(windows), .ended = std::move(ended)});
}

InputHolds::Id InputHolds::watchGrab(std::vector<std::uint32_t> windows, Ended ended) {
    return add({.grabs = false,
                .toolkitGrabs = true,
                .covering = std::move(windows),
                .ended = std::move(ended)});
}

InputHolds::Id InputHolds::add(Hold hold) {
    const Id id = next_++;
    bool first = false;
    {
        std::lock_guard lock(mutex_);
        first = holds_.empty();
    }
    // A watchdog that let go has ended, or is about to.
    if (first && watchdog_.joinable())
        watchdog_.join();
    {
        std::lock_guard lock(mutex_);
        holds_.emplace(id, std::move(hold));
        if (first) {
            watching_ = true;
            lastBeat_ = nowMillis();
        }
    }
    if (first) {
        watchdog_ = std::thread([this] { watch(); });
        beat_.cancel();
        beat();
    }
    return id;
}

void InputHolds::release(Id id) {
    bool ungrab = false;
    bool last = false;
    {
        std::lock_guard lock(mutex_);
        letGo_.erase(id);
        const auto found = holds_.find(id);
        if (found == holds_.end())
            return;
        const bool grabbed = found->second.grabs;
        holds_.erase(found);
        ungrab = grabbed && std::none_of(holds_.begin(), holds_.end(), [](const auto& entry) {
                     return entry.second.grabs;
                 });
        if (holds_.empty()) {
            watching_ = false;
            last = true;
        }
    }
    if (last)
        stopWatching();
    if (ungrab)
        ungrabInput(connection_);
}

void InputHolds::beat() {
    lastBeat_ = nowMillis();
    beat_ = mainQueue_.after(beatInterval, [this, alive = std::weak_ptr<bool>(alive_)] {
        if (alive.expired())
            return;
        bool holding = false;
        {
            std::lock_guard lock(mutex_);
            holding = watching_;
        }
        if (holding)
            beat();
    });
}

void InputHolds::watch() {
    ::pthread_setname_np(::pthread_self(), "InputHoldWatch");
    const auto limit =
        std::chrono::duration_cast<std::chrono::milliseconds>(EventTaps::watchdogLimit).count();
    std::unique_lock lock(mutex_);
    while (watching_) {
        wake_.wait_for(lock, checkInterval, [this] { return !watching_; });
        if (watching_ && nowMillis() - lastBeat_.load() > limit) {
            watching_ = false;
            lock.unlock();
            letGo();
            return;
        }
    }
}

// On the watchdog: the main thread may be stopped for good, so nothing here
// waits for it, and the server is spoken to outside the lock.
void InputHolds::letGo() {
    bool grabbed = false;
    std::vector<std::uint32_t> covering;
    {
        std::lock_guard lock(mutex_);
        for (auto& [id, hold] : holds_) {
            grabbed = grabbed || hold.grabs || hold.toolkitGrabs;
            covering.insert(covering.end(), hold.covering.begin(), hold.covering.end());
            letGo_.emplace(id, std::move(hold.ended));
        }
        holds_.clear();
    }
    for (const auto window : covering)
        xcb_unmap_window(connection_, window);
    if (grabbed)
        ungrabInput(connection_);
    else
        xcb_flush(connection_);
    mainQueue_.post([this, alive = std::weak_ptr<bool>(alive_)] {
        if (!alive.expired())
            tellLetGo();
    });
}

// One at a time: a holder told may end another hold, which is then not told.
void InputHolds::tellLetGo() {
    for (;;) {
        Ended ended;
        {
            std::lock_guard lock(mutex_);
            if (letGo_.empty())
                return;
            auto first = letGo_.begin();
            ended = std::move(first->second);
            letGo_.erase(first);
        }
        if (ended)
            ended(stalled);
    }
}

namespace {

// The holds over Qt's connection, for the program's own windows.
class QtWindowHolds final : public WindowHolds {
  public:
    QtWindowHolds(MainQueue& mainQueue, xcb_connection_t* connection)
        : holds_(std::make_shared<InputHolds>(mainQueue, connection)) {}

    Result<std::unique_ptr<Hold>> grab(std::span<const std::uint32_t> windows,
                                       Ended ended) override {
        if (windows.empty())
            return Error{"no window to hold the input for"};
        auto id = holds_->grab(windows.front(), pointerEvents, {windows.begin(), windows.end()},
                               std::move(ended));
        if (!id)
            return id.error();
        return std::unique_ptr<Hold>(std::make_unique<Held>(holds_, id.value()));
    }
    std::unique_ptr<Hold> cover(std::span<const std::uint32_t> windows, Ended ended) override {
        return std::make_unique<Held>(holds_,
                                      holds_->cover({windows.begin(), windows.end()}, std::move(ended)));
    }
    std::unique_ptr<Hold> watchGrab(std::span<const std::uint32_t> windows, Ended ended) override {
        return std::make_unique<Held>(
            holds_, holds_->watchGrab({windows.begin(), windows.end()}, std::move(ended)));
    }

  private:
    static constexpr std::uint16_t pointerEvents =
        XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_ENTER_WINDOW |
        XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_POINTER_MOTION;

    class Held final : public Hold {
      public:
        Held(std::shared_ptr<InputHolds> holds, InputHolds::Id id) : holds_(std::move(holds)), id_(id) {}
        ~Held() override { holds_->release(id_); }

      private:
        std::shared_ptr<InputHolds> holds_;
        InputHolds::Id id_;
    };

    std::shared_ptr<InputHolds> holds_;
};

}  // namespace

std::unique_ptr<WindowHolds> connectWindowHolds(MainQueue& mainQueue) {
    auto* application = qGuiApp;
    auto* x11 = application ? application->nativeInterface<QNativeInterface::QX11Application>()
                            : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    return std::make_unique<QtWindowHolds>(mainQueue, x11->connection());
}

}  // namespace quorvane::platform::x11

#pragma once

#include <QSocketNotifier>
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/EventMonitors.hpp"
#include "platform/KeyCapture.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "platform/MonitorRegistry.hpp"
#include "adapters/x11/InputHolds.hpp"
#include "adapters/x11/RecordDecoder.hpp"

struct xcb_connection_t;

namespace quorvane::platform::x11 {

class CoreKeyboard;
class UnicodeTyping;

// The keyboard and mouse of an X11 session. Global monitors and observing
// taps read the server's RECORD stream of device events, over a data
// connection of its own read on a thread that posts one batch per read to
// the main queue (a plain key's release that nobody watches waits for the
// next one); the stream exists only while a monitor or tap does.
// Posted input goes through XTest (Command is sent as Control, so
// Command-V pastes), typed text too, on spare keys mapped for the while
// (`UnicodeTyping`); keys for one application through SendEvent, warps
// through WarpPointer. An input lock is an active grab of keyboard and
// pointer through `InputHolds`: the server ends it with our connection
// however the program ends, and its watchdog when the main thread stops
// answering.
// Captured keys are passive grabs on the root window over the same
// connection, so the focus stays where it is.
class XcbInput final : public EventMonitors,
                       public EventTaps,
                       public SyntheticEvents,
                       public KeyCapture {
  public:
    struct Hooks {
        // The primary screen in root coordinates.
        std::function<Rect()> primaryRootFrame{};
        // Whether a pointer event lands on one of our own windows, and
        // whether an X window (the one with the input focus, for keys) is
        // one of them: local monitors see those events; global ones must not.
        std::function<bool(const InputEvent&)> isOverOwnWindow{};
        std::function<bool(std::uint32_t window)> isOwnWindow{};
        // Whether any of our windows could have the key focus now (one is
        // shown that takes it): when none can, keys are never ours and the
        // server is not asked. None: always asked.
        std::function<bool()> mayHaveKeyFocus{};
        // The window that has the focus among an application's, for keys
        // sent to it alone.
        std::function<std::optional<std::uint32_t>(int pid)> focusedWindowOf{};
    };

    // Nothing without an X display, or without the RECORD and XTEST
    // extensions.
    static std::unique_ptr<XcbInput> connect(MainQueue& mainQueue, Log& log, Hooks hooks);
    ~XcbInput() override;

    // EventMonitors
    Result<EventMonitors::Token> addGlobal(EventMask mask, EventMonitors::Handler handler) override;
    void remove(EventMonitors::Token token) override;
    Point mouseLocation() override;
    bool isRecording() const { return recording_.load(); }

    // EventTaps: they observe; X11 cannot change another program's input.
    Result<EventTaps::Token> install(EventMask mask, Callback callback,
                                     std::function<void()> disabled) override;
    void enable(EventTaps::Token token) override;
    void uninstall(EventTaps::Token token) override;
    Result<EventTaps::Token> swallowAll(SwallowHeard heard, SwallowEnded ended) override;

    // SyntheticEvents
    Status post(const InputEvent& event) override;
    Status postToPid(int pid, const InputEvent& event) override;
    Status warpCursor(Point to) override;
    Status typeText(std::string_view text) override;
    Status canTypeText(std::string_view text) override;

    // KeyCapture
    Status capture(std::span<const std::uint16_t> keyCodes, KeyCapture::Handler handler) override;
    void release() override;

    // Decodes and dispatches one read of the stream (main thread).
    void dispatchBatch(const std::uint8_t* bytes, std::size_t length);

  private:
    XcbInput(MainQueue& mainQueue, Log& log, Hooks hooks, xcb_connection_t* control,
             xcb_connection_t* data, std::uint32_t root);
    void updateStream();
    void noteObservedTypes();
    void startStream();
    void stopStream();
    void readLoop(std::uint32_t context);
    bool keyFocusIsOurs();
    void characters(std::uint8_t keycode, bool pressed, std::string& text, std::string& plain);
    Point rootPoint(Point cocoa) const;
    void fakeKey(std::uint8_t keycode, bool down);
    void releaseLock();
    void readControlEvents();
    // Hands captured keys to the handler once the RECORD stream has
    // delivered every key typed before them (`all`: whatever it has).
    void deliverCaptured(bool all);
    // After waiting for a reply on the control connection, which may have
    // read captured keys (or the lock's) off the socket into the
    // connection's queue, where the socket's notifier no longer sees them:
    // reads them on the next turn.
    void readControlEventsLater();

    struct Tap {
        EventMask mask;
        Callback callback;
    };

    // A posted pixel scroll's notches, and what is left of a notch.
    static constexpr double pixelsPerNotch = 10;
    double pendingPixelsY_ = 0;
    double pendingPixelsX_ = 0;

    MainQueue& mainQueue_;
    Log& log_;
    Hooks hooks_;
    xcb_connection_t* control_;
    xcb_connection_t* data_;
    std::uint32_t root_;
    std::shared_ptr<bool> alive_;
    MonitorRegistry monitors_;
    std::map<EventTaps::Token, Tap> taps_;
    EventTaps::Token nextTap_ = 1;
    bool refusedChanges_ = false;
    bool controlReadPosted_ = false;  // a read of the control connection waits its turn
    RecordDecoder decoder_;
    InputEvent event_;
    std::uint32_t context_ = 0;
    std::thread reader_;
    std::atomic<bool> recording_{false};
    // Whether a monitor or tap wants key-ups. While none does, the reader
    // keeps the release of a key that is no modifier and sends it with the
    // next event: typing wakes the main thread once a key, not twice.
    std::atomic<bool> keyUpObserved_{true};
    std::atomic<bool> started_{false};
    std::unique_ptr<CoreKeyboard> keyboard_;
    std::unique_ptr<UnicodeTyping> typing_;
    // The input lock.
    std::unique_ptr<InputHolds> holds_;
    std::optional<EventTaps::Token> lock_;
    std::optional<InputHolds::Id> lockHold_;
    SwallowHeard lockHeard_;
    SwallowEnded lockEnded_;
    std::unique_ptr<QSocketNotifier> controlEvents_;
    // Captured keys: X key code to Mac key code.
    std::map<std::uint8_t, std::uint16_t> captured_;
    KeyCapture::Handler captureHandler_;
    // Captured presses with their server times, waiting for the RECORD
    // stream to catch up: the keys typed before one (a shortcode's last
    // letters) reach the monitors first. And the server time of the last
    // recorded event.
    std::deque<std::pair<std::uint32_t, std::uint16_t>> pendingCaptured_;
    std::optional<std::uint32_t> recordedUpTo_;
};

}  // namespace quorvane::platform::x11

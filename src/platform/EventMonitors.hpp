#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "platform/InputEvent.hpp"
#include "platform/MonitorRegistry.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform {

// Monitors of the input that goes to other applications. They observe and
// never change it; events for this program's own windows reach only local
// monitors. Handlers run on the main thread.
class EventMonitors {
  public:
    using Token = MonitorRegistry::Token;
    using Handler = std::function<void(const InputEvent&)>;

    virtual ~EventMonitors() = default;
    // Refused (a value the tweak logs) when the session cannot be observed.
    virtual Result<Token> addGlobal(EventMask mask, Handler handler) = 0;
    virtual void remove(Token token) = 0;
    // Cocoa space.
    virtual Point mouseLocation() = 0;
};

// Monitors of the input that goes to this program's own windows. A handler
// answering true consumes the event.
class LocalEventMonitors {
  public:
    using Token = MonitorRegistry::Token;
    using Handler = MonitorRegistry::Handler;

    virtual ~LocalEventMonitors() = default;
    virtual Token addLocal(EventMask mask, Handler handler) = 0;
    virtual void remove(Token token) = 0;
};

// What an event tap's callback does with an event.
struct TapAnswer {
    enum class Kind { pass, replace, drop };
    Kind kind = Kind::pass;
    InputEvent replacement{};

    static TapAnswer pass() { return {}; }
    static TapAnswer replace(InputEvent event) { return {Kind::replace, std::move(event)}; }
    static TapAnswer drop() { return {Kind::drop, {}}; }
};

// Taps see input before other applications do and may change it. The
// callback runs on the adapter's own thread. The system may disable a tap
// (it took too long, secure input): `disabled` is then called on the main
// thread, and enable() turns it back on.
class EventTaps {
  public:
    using Token = std::uint64_t;
    using Callback = std::function<TapAnswer(const InputEvent&)>;

    virtual ~EventTaps() = default;
    virtual Result<Token> install(EventMask mask, Callback callback,
                                  std::function<void()> disabled) = 0;
    virtual void enable(Token token) = 0;
    // Also ends a swallowAll().
    virtual void uninstall(Token token) = 0;
    // What an input lock hears of what it holds back: keys pressed and
    // buttons released (where), on the main thread, for a way out.
    using SwallowHeard = std::function<void(const InputEvent&)>;
    // A lock that ended without uninstall(), and why; on the main thread.
    using SwallowEnded = std::function<void(const std::string& why)>;
    // Holds back every key and pointer event from every application, the
    // system's own shortcuts and ours included, for an input lock. It fails
    // open: it ends with the program however it ends, and when the main
    // thread stops answering for `watchdogLimit`. A second call while one
    // holds answers the same token.
    virtual Result<Token> swallowAll(SwallowHeard heard, SwallowEnded ended) = 0;
    static constexpr auto watchdogLimit = std::chrono::seconds(2);
};

// Input made by the program, as if the user made it.
class SyntheticEvents {
  public:
    virtual ~SyntheticEvents() = default;
    // A mouse event, a key with its flags, or a scroll in pixels, to
    // whatever is under the pointer or has the focus; monitors see it.
    virtual Status post(const InputEvent& event) = 0;
    // Keys to one application only; global monitors do not see them.
    virtual Status postToPid(int pid, const InputEvent& event) = 0;
    // Cocoa space; no mouse-moved event follows.
    virtual Status warpCursor(Point to) = 0;
    // Types `text` (UTF-8, any script) to whatever has the focus, as a
    // keyboard would: text fields and terminals alike take it in, and no
    // pasteboard is involved. Refused, with nothing typed, where the session
    // cannot type it.
    virtual Status typeText(std::string_view text) = 0;
    // Whether typeText(text) would be refused now, and why.
    virtual Status canTypeText(std::string_view text) = 0;
};

}  // namespace quorvane::platform

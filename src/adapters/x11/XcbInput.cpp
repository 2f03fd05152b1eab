#include "adapters/x11/XcbInput.hpp"
#include "adapters/x11/DisplayConnection.hpp"
#include "adapters/x11/CoreKeyboard.hpp"
#include "adapters/x11/UnicodeTyping.hpp"

#include <xcb/record.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>
#include <xkbcommon/xkbcommon.h>

#include <pthread.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/MacKeyCodes.hpp"

namespace quorvane::platform::x11 {

namespace {

constexpr std::string_view source = "XcbInput";
// RECORD's reply categories.
constexpr std::uint8_t fromServer = 0;
constexpr std::uint8_t endOfData = 5;

bool hasExtension(xcb_connection_t* connection, xcb_extension_t* extension) {
    const auto* data = xcb_get_extension_data(connection, extension);
    return data && data->present;
}

}  // namespace

std::unique_ptr<XcbInput> XcbInput::connect(MainQueue& mainQueue, Log& log, Hooks hooks) {
    if (const char* display = std::getenv("DISPLAY"); !display || !*display)
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* control = xcb_connect(nullptr, &screenNumber);
    xcb_connection_t* data = xcb_connect(nullptr, nullptr);
    auto fail = [&](const char* why) -> std::unique_ptr<XcbInput> {
        log.info(source, why);
        xcb_disconnect(control);
        xcb_disconnect(data);
        return nullptr;
    };
    if (xcb_connection_has_error(control) || xcb_connection_has_error(data))
        return fail("cannot connect to the X display");
    if (!hasExtension(control, &xcb_record_id) || !hasExtension(control, &xcb_test_id))
        return fail("the X server lacks RECORD or XTEST: input cannot be observed");
    const auto root = rootWindowOf(control, screenNumber);
    if (!root)
        return fail("the X display has no screen");
    return std::unique_ptr<XcbInput>(
        new XcbInput(mainQueue, log, std::move(hooks), control, data, *root));
}

XcbInput::XcbInput(MainQueue& mainQueue, Log& log, Hooks hooks, xcb_connection_t* control,
                   xcb_connection_t* data, std::uint32_t root)
    : mainQueue_(mainQueue),
      log_(log),
      hooks_(std::move(hooks)),
      control_(control),
      data_(data),
      root_(root),
      alive_(std::make_shared<bool>(true)),
      monitors_([this](bool) { updateStream(); }),
      decoder_([this](std::uint8_t keycode, bool pressed, std::string& text, std::string& plain) {
          characters(keycode, pressed, text, plain);
      }),
      holds_(std::make_unique<InputHolds>(mainQueue, control)) {
    // Characters as the user's layout types them.
    keyboard_ = CoreKeyboard::open(control_);
    typing_ = std::make_unique<UnicodeTyping>(control_, root_, mainQueue_,
                                              [this] { readControlEventsLater(); });
    // Captured keys arrive here, and what the input lock's grab delivers.
    controlEvents_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(control_),
                                                       QSocketNotifier::Read);
    QObject::connect(controlEvents_.get(), &QSocketNotifier::activated, controlEvents_.get(),
                     [this] { readControlEvents(); });
}

namespace {

// What the input lock's grab delivers, as the lock hears it: keys pressed
// and buttons released.
std::optional<InputEvent> heardWhileLocked(const xcb_generic_event_t& event, Rect primary) {
    const auto type = event.response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_BUTTON_RELEASE)
        return std::nullopt;
    // Key and button events share their layout.
    const auto& input = reinterpret_cast<const xcb_key_press_event_t&>(event);
    std::uint64_t flags = 0;
    if (input.state & XCB_MOD_MASK_SHIFT)
        flags |= modifier::shift;
    if (input.state & XCB_MOD_MASK_CONTROL)
        flags |= modifier::control;
    if (input.state & XCB_MOD_MASK_1)
        flags |= modifier::option;
    if (input.state & XCB_MOD_MASK_4)
        flags |= modifier::command;
    InputEvent heard{.modifierFlags = flags};
    if (type == XCB_KEY_PRESS) {
        const auto code = macKeyCodeForX11(input.detail);
        if (!code)
            return std::nullopt;
        heard.type = EventType::keyDown;
        heard.keyCode = *code;
    } else {
        if (input.detail < 1 || input.detail > 3)
            return std::nullopt;  // the wheel's "buttons"
        heard.type = input.detail == 1   ? EventType::leftMouseUp
                     : input.detail == 3 ? EventType::rightMouseUp
                                         : EventType::otherMouseUp;
        heard.buttonNumber = input.detail == 1 ? 0 : input.detail == 3 ? 1 : 2;
        heard.location = {input.root_x - primary.origin.x,
                          primary.size.height - (input.root_y - primary.origin.y)};
    }
    return heard;
}

}  // namespace

void XcbInput::readControlEvents() {
    while (auto* event = xcb_poll_for_event(control_)) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        if (lock_) {
            const Rect primary = hooks_.primaryRootFrame ? hooks_.primaryRootFrame() : Rect{};
            if (auto heard = heardWhileLocked(*event, primary); heard && lockHeard_) {
                const auto handler = lockHeard_;  // it may end the lock
                handler(*heard);
            }
            continue;
        }
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS || !captureHandler_)
            continue;
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        const auto found = captured_.find(press->detail);
        if (found == captured_.end())
            continue;
        pendingCaptured_.emplace_back(press->time, found->second);
    }
    if (pendingCaptured_.empty())
        return;
    deliverCaptured(!recording_);
    if (!pendingCaptured_.empty())
        // A stream that stalls (or lost the key) holds nobody's key for long.
        mainQueue_.after(std::chrono::milliseconds(250), [this, alive = std::weak_ptr<bool>(alive_)] {
            if (auto live = alive.lock(); live && *live)
                deliverCaptured(true);
        });
}

void XcbInput::deliverCaptured(bool all) {
    while (!pendingCaptured_.empty()) {
        const auto [time, key] = pendingCaptured_.front();
        // Server times wrap around: compared as a signed distance.
        const bool recorded =
            recordedUpTo_ && static_cast<std::int32_t>(time - *recordedUpTo_) <= 0;
        if (!all && !recorded)
            return;
        pendingCaptured_.pop_front();
        if (!captureHandler_)
            continue;
        // The handler may release the capture: call a copy.
        const auto handler = captureHandler_;
        handler(InputEvent{.type = EventType::keyDown, .keyCode = key});
    }
}

namespace {
// Caps Lock and Num Lock must not stop a captured key.
constexpr std::array<std::uint16_t, 4> lockVariants{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                    XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
}  // namespace

Status XcbInput::capture(std::span<const std::uint16_t> keyCodes, KeyCapture::Handler handler) {
    release();
    std::string refused;
    for (auto mac : keyCodes) {
        const auto key = x11KeyCodeForMac(mac);
        bool taken = key.has_value();
        for (std::size_t i = 0; taken && i < lockVariants.size(); ++i) {
            auto cookie = xcb_grab_key_checked(control_, 1, root_, lockVariants[i], *key,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (auto* error = xcb_request_check(control_, cookie)) {
                std::free(error);
                for (std::size_t undo = 0; undo < i; ++undo)
                    xcb_ungrab_key(control_, *key, root_, lockVariants[undo]);
                taken = false;
            }
        }
        if (taken)
            captured_[*key] = mac;
        else
            refused += (refused.empty() ? "" : ", ") + std::to_string(mac);
    }
    xcb_flush(control_);
    captureHandler_ = std::move(handler);
    if (!refused.empty())
        return Error{"keys with Mac codes " + refused + " could not be taken"};
    return success();
}

void XcbInput::release() {
    for (const auto& [key, mac] : captured_)
        for (auto locks : lockVariants)
            xcb_ungrab_key(control_, key, root_, locks);
    if (!captured_.empty()) {
        // A captured key still held keeps the whole keyboard grabbed until
        // it is released: keys posted meanwhile (a replacement's) would come
        // to us instead of the application. End that grab too, unless the
        // input lock holds the keyboard.
        if (!lock_)
            xcb_ungrab_keyboard(control_, XCB_CURRENT_TIME);
        xcb_flush(control_);
    }
    captured_.clear();
    captureHandler_ = nullptr;
    pendingCaptured_.clear();
}

XcbInput::~XcbInput() {
    *alive_ = false;
    controlEvents_.reset();
    release();
    releaseLock();
    // They use the control connection; the borrowed keys are emptied.
    typing_.reset();
    holds_.reset();
    stopStream();
    xcb_disconnect(data_);
    xcb_disconnect(control_);
}

// --- the RECORD stream -------------------------------------------------------

void XcbInput::noteObservedTypes() {
    EventMask observed = monitors_.combinedMask();
    for (const auto& [token, tap] : taps_)
        observed |= tap.mask;
    keyUpObserved_ = matches(observed, EventType::keyUp);
}

void XcbInput::updateStream() {
    noteObservedTypes();
    const bool wanted = monitors_.size() > 0 || !taps_.empty();
    if (wanted && !recording_)
        startStream();
    else if (!wanted && recording_)
        stopStream();
}

void XcbInput::startStream() {
    const xcb_record_context_t context = xcb_generate_id(control_);
    xcb_record_range_t range;
    std::memset(&range, 0, sizeof range);
    range.device_events.first = XCB_KEY_PRESS;
    range.device_events.last = XCB_MOTION_NOTIFY;
    xcb_record_client_spec_t clients = XCB_RECORD_CS_ALL_CLIENTS;
    auto created = xcb_record_create_context_checked(control_, context, 0, 1, 1, &clients, &range);
    if (auto* error = xcb_request_check(control_, created)) {
        std::free(error);
        log_.warning(source, "the X server refused to record input");
        return;
    }
    if (hooks_.primaryRootFrame)
        decoder_.setPrimary(hooks_.primaryRootFrame());
    context_ = context;
    recording_ = true;
    started_ = false;
    reader_ = std::thread([this, context] { readLoop(context); });
    // Input from before the server starts recording would be missed: wait
    // for its first reply, a moment at most.
    for (int waited = 0; waited < 1000 && !started_; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void XcbInput::stopStream() {
    if (!recording_)
        return;
    // The server ends the stream with its end-of-data reply.
    xcb_record_disable_context(control_, context_);
    xcb_flush(control_);
    if (reader_.joinable())
        reader_.join();
    xcb_record_free_context(control_, context_);
    xcb_flush(control_);
    recording_ = false;
}

void XcbInput::readLoop(std::uint32_t context) {
    ::pthread_setname_np(::pthread_self(), "InputStream");
    const auto cookie = xcb_record_enable_context(data_, context);
    xcb_flush(data_);
    std::weak_ptr<bool> alive = alive_;
    std::vector<std::uint8_t> batch;
    auto send = [&] {
        if (batch.empty())
            return;
        mainQueue_.post([this, alive, events = std::move(batch)] {
            if (auto live = alive.lock(); live && *live)
                dispatchBatch(events.data(), events.size());
        });
        batch = {};
    };
    for (;;) {
        auto* reply = xcb_record_enable_context_reply(data_, cookie, nullptr);
        if (!reply) {
            send();
            return;
        }
        const bool end = reply->category == endOfData;
        started_ = true;
        const int length = xcb_record_enable_context_data_length(reply);
        if (reply->category == fromServer && length > 0) {
            const auto* bytes = xcb_record_enable_context_data(reply);
            batch.insert(batch.end(), bytes, bytes + length);
            // Kept back only when nothing would see it now: a plain key's
            // release, with no one watching key-ups. Order stays: it goes
            // first with whatever comes next.
            bool mayWait = !keyUpObserved_;
            for (int at = 0; mayWait && at + 32 <= length; at += 32)
                mayWait = RecordDecoder::isPlainKeyRelease(
                    std::span<const std::uint8_t, 32>(bytes + at, 32));
            if (!mayWait)
                send();
        }
        std::free(reply);
        if (end) {
            send();
            return;
        }
    }
}

// The X server's word on where keys go. The toolkit's own focus window
// lags behind it (it lets go of the focus only once no FocusIn follows), so
// keys typed just after switching to another program would count as ours
// and reach neither our windows nor the global monitors.
bool XcbInput::keyFocusIsOurs() {
    if (!hooks_.isOwnWindow || (hooks_.mayHaveKeyFocus && !hooks_.mayHaveKeyFocus()))
        return false;
    const auto cookie = xcb_get_input_focus(control_);
    std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
        xcb_get_input_focus_reply(control_, cookie, nullptr), &std::free);
    readControlEventsLater();
    return reply && reply->focus != XCB_NONE && reply->focus != XCB_INPUT_FOCUS_POINTER_ROOT &&
           hooks_.isOwnWindow(reply->focus);
}

void XcbInput::readControlEventsLater() {
    // One read waiting is enough: it takes every event queued by then.
    if (controlReadPosted_)
        return;
    controlReadPosted_ = true;
    mainQueue_.post([this, alive = std::weak_ptr<bool>(alive_)] {
        if (auto live = alive.lock(); live && *live) {
            controlReadPosted_ = false;
            readControlEvents();
        }
    });
}

void XcbInput::dispatchBatch(const std::uint8_t* bytes, std::size_t length) {
    std::optional<bool> keysAreOurs;  // asked once a batch, and only for keys
    for (std::size_t at = 0; at + 32 <= length; at += 32) {
        // Every device event's server time sits at bytes 4 to 7.
        std::uint32_t time = 0;
        std::memcpy(&time, bytes + at + 4, sizeof time);
        recordedUpTo_ = time;
        if (!decoder_.decode(std::span<const std::uint8_t, 32>(bytes + at, 32), event_))
            continue;
        const bool key = event_.type == EventType::keyDown || event_.type == EventType::keyUp ||
                         event_.type == EventType::flagsChanged;
        if (key && !keysAreOurs)
            keysAreOurs = keyFocusIsOurs();
        if (key ? *keysAreOurs : hooks_.isOverOwnWindow && hooks_.isOverOwnWindow(event_))
            continue;
        monitors_.dispatch(event_);
        for (auto& [token, tap] : taps_) {
            if (!matches(tap.mask, event_.type))
                continue;
            const auto answer = tap.callback(event_);
            if (answer.kind != TapAnswer::Kind::pass && !refusedChanges_) {
                refusedChanges_ = true;
                log_.warning(source, "X11 cannot change another program's input: the tap observes only");
            }
        }
    }
    if (!pendingCaptured_.empty())
        deliverCaptured(false);
}

void XcbInput::characters(std::uint8_t keycode, bool pressed, std::string& text,
                          std::string& plain) {
    if (!keyboard_)
        return;
    auto* state = keyboard_->state();
    if (pressed) {
        char buffer[16];
        if (xkb_state_key_get_utf8(state, keycode, buffer, sizeof buffer) > 0)
            text.assign(buffer);
        const xkb_keysym_t* symbols = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(
            keyboard_->keymap(), keycode, xkb_state_key_get_layout(state, keycode), 0, &symbols);
        if (count > 0 && xkb_keysym_to_utf8(symbols[0], buffer, sizeof buffer) > 0)
            plain.assign(buffer);
    }
    xkb_state_update_key(state, keycode, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
}

// --- monitors and taps -------------------------------------------------------

Result<EventMonitors::Token> XcbInput::addGlobal(EventMask mask, EventMonitors::Handler handler) {
    auto token = monitors_.add(mask, [handler = std::move(handler)](const InputEvent& event) {
        handler(event);
        return false;
    });
    noteObservedTypes();
    if (!recording_) {
        monitors_.remove(token);
        return Error{"the X server refused to record input"};
    }
    return token;
}

void XcbInput::remove(EventMonitors::Token token) {
    monitors_.remove(token);
    noteObservedTypes();
}

Point XcbInput::mouseLocation() {
    auto* pointer = xcb_query_pointer_reply(control_, xcb_query_pointer(control_, root_), nullptr);
    if (!pointer)
        return {};
    const Rect primary = hooks_.primaryRootFrame ? hooks_.primaryRootFrame() : Rect{};
    const Point location{pointer->root_x - primary.origin.x,
                         primary.size.height - (pointer->root_y - primary.origin.y)};
    std::free(pointer);
    return location;
}

Result<EventTaps::Token> XcbInput::install(EventMask mask, Callback callback,
                                           std::function<void()>) {
    const auto token = nextTap_++;
    taps_.emplace(token, Tap{mask, std::move(callback)});
    updateStream();
    if (!recording_) {
        taps_.erase(token);
        return Error{"the X server refused to record input"};
    }
    return token;
}

void XcbInput::enable(EventTaps::Token) {
    // Recorded taps are never disabled by the server.
}

void XcbInput::uninstall(EventTaps::Token token) {
    if (lock_ && *lock_ == token) {
        releaseLock();
        return;
    }
    taps_.erase(token);
    updateStream();
}

// --- the input lock ----------------------------------------------------------

Result<EventTaps::Token> XcbInput::swallowAll(SwallowHeard heard, SwallowEnded ended) {
    if (lock_)
        return *lock_;
    const auto token = nextTap_;
    // Let go by the watchdog: said once the main thread is back.
    auto held = holds_->grab(
        root_,
        XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION,
        {}, [this, token](const std::string& why) {
            if (lock_ != token)
                return;
            lockHold_.reset();
            auto tell = std::move(lockEnded_);
            releaseLock();
            if (tell)
                tell(why);
        });
    if (!held)
        return held.error();
    lock_ = nextTap_++;
    lockHold_ = held.value();
    lockHeard_ = std::move(heard);
    lockEnded_ = std::move(ended);
    return *lock_;
}

void XcbInput::releaseLock() {
    if (!lock_)
        return;
    lock_.reset();
    lockHeard_ = nullptr;
    lockEnded_ = nullptr;
    if (auto hold = std::exchange(lockHold_, std::nullopt))
        holds_->release(*hold);
}

// --- posted input ------------------------------------------------------------

Point XcbInput::rootPoint(Point cocoa) const {
    const Rect primary = hooks_.primaryRootFrame ? hooks_.primaryRootFrame() : Rect{};
    return {cocoa.x + primary.origin.x, primary.size.height - cocoa.y + primary.origin.y};
}

void XcbInput::fakeKey(std::uint8_t keycode, bool down) {
    xcb_test_fake_input(control_, down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycode,
                        XCB_CURRENT_TIME, root_, 0, 0, XCB_NONE);
}

Status XcbInput::post(const InputEvent& event) {
    if (!isFinite(event.location))
        return Error{"an event's location must be finite"};
    const Point at = rootPoint(event.location);
    const auto rootX = static_cast<std::int16_t>(std::lround(at.x));
    const auto rootY = static_cast<std::int16_t>(std::lround(at.y));
    switch (event.type) {
        case EventType::keyDown:
        case EventType::keyUp: {
            const auto key = x11KeyCodeForMac(event.keyCode);
            if (!key)
                return Error{"no key of this keyboard has the code " + std::to_string(event.keyCode)};
            // Command travels as Control: what Command does on a Mac,
            // Control does here.
            std::vector<std::uint8_t> held;
            const std::pair<std::uint64_t, std::uint16_t> modifiers[] = {
                {modifier::shift, macKey::shift},
                {modifier::control | modifier::command, macKey::control},
                {modifier::option, macKey::option}};
            if (event.type == EventType::keyDown) {
                for (auto [flags, mac] : modifiers)
                    if (event.modifierFlags & flags)
                        if (auto code = x11KeyCodeForMac(mac))
                            held.push_back(*code);
                for (auto code : held)
                    fakeKey(code, true);
            }
            fakeKey(*key, event.type == EventType::keyDown);
            for (auto code : held)
                fakeKey(code, false);
            break;
        }
        case EventType::mouseMoved:
        case EventType::leftMouseDragged:
        case EventType::rightMouseDragged:
        case EventType::otherMouseDragged:
            xcb_test_fake_input(control_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, rootX,
                                rootY, XCB_NONE);
            break;
        case EventType::leftMouseDown:
        case EventType::leftMouseUp:
        case EventType::rightMouseDown:
        case EventType::rightMouseUp:
        case EventType::otherMouseDown:
        case EventType::otherMouseUp: {
            const bool down = event.type == EventType::leftMouseDown ||
                              event.type == EventType::rightMouseDown ||
                              event.type == EventType::otherMouseDown;
            const std::uint8_t button = event.type == EventType::leftMouseDown ||
                                                event.type == EventType::leftMouseUp
                                            ? 1
                                        : event.type == EventType::rightMouseDown ||
                                                event.type == EventType::rightMouseUp
                                            ? 3
                                            : 2;
            xcb_test_fake_input(control_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, rootX,
                                rootY, XCB_NONE);
            xcb_test_fake_input(control_, down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button,
                                XCB_CURRENT_TIME, root_, 0, 0, XCB_NONE);
            break;
        }
        case EventType::scrollWheel: {
            // Lines are notches; pixels become notches ten to one, the
            // rest kept for the next scroll, so slow pixel scrolling moves
            // as far as it asks.
            auto notches = [](std::int64_t lines, double pixels, double& pending) -> std::int64_t {
                if (lines != 0)
                    return lines;
                pending += pixels;
                const auto whole = static_cast<std::int64_t>(pending / pixelsPerNotch);
                pending -= static_cast<double>(whole) * pixelsPerNotch;
                return whole;
            };
            if (std::abs(event.scrollLinesY) > 1000 || std::abs(event.scrollLinesX) > 1000 ||
                std::abs(event.scrollingDeltaY) > 1000 * pixelsPerNotch ||
                std::abs(event.scrollingDeltaX) > 1000 * pixelsPerNotch)
                return Error{"a scroll moves at most 1000 notches"};
            const auto vertical = notches(event.scrollLinesY, event.scrollingDeltaY, pendingPixelsY_);
            const auto horizontal = notches(event.scrollLinesX, event.scrollingDeltaX, pendingPixelsX_);
            auto press = [&](std::uint8_t button, std::int64_t count) {
                for (std::int64_t i = 0; i < count; ++i) {
                    xcb_test_fake_input(control_, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME,
                                        root_, 0, 0, XCB_NONE);
                    xcb_test_fake_input(control_, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME,
                                        root_, 0, 0, XCB_NONE);
                }
            };
            // Positive scrolls up (button 4) or left (6), as on a Mac.
            press(vertical > 0 ? 4 : 5, std::abs(vertical));
            press(horizontal > 0 ? 6 : 7, std::abs(horizontal));
            break;
        }
        default:
            return Error{"X11 cannot post this kind of event"};
    }
    xcb_flush(control_);
    return success();
}

Status XcbInput::postToPid(int pid, const InputEvent& event) {
    if (event.type != EventType::keyDown && event.type != EventType::keyUp)
        return Error{"only keys can be sent to one application"};
    const auto window = hooks_.focusedWindowOf ? hooks_.focusedWindowOf(pid) : std::nullopt;
    if (!window)
        return Error{"no window of pid " + std::to_string(pid)};
    const auto key = x11KeyCodeForMac(event.keyCode);
    if (!key)
        return Error{"no key of this keyboard has the code " + std::to_string(event.keyCode)};
    xcb_key_press_event_t sent;
    std::memset(&sent, 0, sizeof sent);
    sent.response_type = event.type == EventType::keyDown ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
    sent.detail = *key;
    sent.root = root_;
    sent.event = *window;
    sent.child = XCB_NONE;
    sent.same_screen = 1;
    std::uint16_t state = 0;
    if (event.modifierFlags & modifier::shift)
        state |= XCB_MOD_MASK_SHIFT;
    if (event.modifierFlags & (modifier::control | modifier::command))
        state |= XCB_MOD_MASK_CONTROL;
    if (event.modifierFlags & modifier::option)
        state |= XCB_MOD_MASK_1;
    sent.state = state;
    xcb_send_event(control_, 0, *window, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE,
                   reinterpret_cast<const char*>(&sent));
    xcb_flush(control_);
    return success();
}

Status XcbInput::typeText(std::string_view text) {
    return typing_->type(text);
}

Status XcbInput::canTypeText(std::string_view text) {
    return typing_->canType(text);
}

Status XcbInput::warpCursor(Point to) {
    if (!isFinite(to))
        return Error{"the pointer's position must be finite"};
    const Point at = rootPoint(to);
    const auto rootX = static_cast<std::int16_t>(std::lround(at.x));
    const auto rootY = static_cast<std::int16_t>(std::lround(at.y));
    // Read on the main thread, where the stream is decoded too.
    decoder_.expectWarpTo(rootX, rootY);
    xcb_warp_pointer(control_, XCB_NONE, root_, 0, 0, 0, 0, rootX, rootY);
    xcb_flush(control_);
    return success();
}

}  // namespace quorvane::platform::x11

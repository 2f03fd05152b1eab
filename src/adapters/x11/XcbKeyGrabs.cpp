#include "adapters/x11/XcbKeyGrabs.hpp"
#include "adapters/x11/DisplayConnection.hpp"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QKeySequence>
#include <array>
#include <cstdlib>

namespace quorvane::platform::x11 {

namespace {

// X keysyms for the keys a shortcut may use. Letters, digits and
// printable ASCII have the keysym of their Latin-1 code.
std::optional<xcb_keysym_t> keysymOf(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<xcb_keysym_t>('a' + (key - Qt::Key_A));
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return static_cast<xcb_keysym_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return static_cast<xcb_keysym_t>(0xffbe + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Escape:
            return 0xff1b;
        case Qt::Key_Tab:
            return 0xff09;
        case Qt::Key_Backspace:
            return 0xff08;
        case Qt::Key_Return:
            return 0xff0d;
        case Qt::Key_Enter:
            return 0xff8d;
        case Qt::Key_Insert:
            return 0xff63;
        case Qt::Key_Delete:
            return 0xffff;
        case Qt::Key_Home:
            return 0xff50;
        case Qt::Key_End:
            return 0xff57;
        case Qt::Key_Left:
            return 0xff51;
        case Qt::Key_Up:
            return 0xff52;
        case Qt::Key_Right:
            return 0xff53;
        case Qt::Key_Down:
            return 0xff54;
        case Qt::Key_PageUp:
            return 0xff55;
        case Qt::Key_PageDown:
            return 0xff56;
        default:
            return std::nullopt;
    }
}

// Caps Lock and Num Lock must not stop a shortcut: each grab is made with
// every combination of the two.
constexpr std::array<std::uint16_t, 4> lockVariants{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                    XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t shortcutModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

}  // namespace

std::unique_ptr<XcbKeyGrabs> XcbKeyGrabs::connect(Pressed pressed) {
    const auto display = connectToDisplay();
    if (!display)
        return nullptr;
    return std::unique_ptr<XcbKeyGrabs>(
        new XcbKeyGrabs(std::move(pressed), display->connection, display->root));
}

XcbKeyGrabs::XcbKeyGrabs(Pressed pressed, xcb_connection_t* connection, std::uint32_t root)
    : pressed_(std::move(pressed)),
      connection_(connection),
      root_(root),
      symbols_(xcb_key_symbols_alloc(connection)),
      notifier_(std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection),
                                                  QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { readEvents(); });
}

XcbKeyGrabs::~XcbKeyGrabs() {
    notifier_.reset();
    xcb_key_symbols_free(symbols_);
    xcb_disconnect(connection_);
}

std::optional<XcbKeyGrabs::Key> XcbKeyGrabs::keyOf(const KeyCombination& combination) const {
    const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(combination.text),
                                                           QKeySequence::PortableText);
    if (sequence.count() != 1)
        return std::nullopt;
    const auto pressed = sequence[0];
    auto keysym = keysymOf(pressed.key());
    if (!keysym)
        return std::nullopt;
    std::unique_ptr<xcb_keycode_t, decltype(&std::free)> keycodes(
        xcb_key_symbols_get_keycode(symbols_, *keysym), &std::free);
    if (!keycodes || *keycodes == XCB_NO_SYMBOL)
        return std::nullopt;
    std::uint16_t modifiers = 0;
    const auto qtModifiers = pressed.keyboardModifiers();
    if (qtModifiers & Qt::ShiftModifier)
        modifiers |= XCB_MOD_MASK_SHIFT;
    if (qtModifiers & Qt::ControlModifier)
        modifiers |= XCB_MOD_MASK_CONTROL;
    if (qtModifiers & Qt::AltModifier)
        modifiers |= XCB_MOD_MASK_1;
    if (qtModifiers & Qt::MetaModifier)
        modifiers |= XCB_MOD_MASK_4;
    return Key{*keycodes, modifiers};
}

Status XcbKeyGrabs::grab(const KeyCombination& combination) {
    const auto key = keyOf(combination);
    if (!key)
        return Error{"\"" + combination.text + "\" cannot be a global shortcut on this keyboard"};
    for (auto locks : lockVariants) {
        auto cookie = xcb_grab_key_checked(connection_, 1, root_, key->modifiers | locks,
                                           key->keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (auto* error = xcb_request_check(connection_, cookie)) {
            std::free(error);
            for (auto undo : lockVariants)
                xcb_ungrab_key(connection_, key->keycode, root_, key->modifiers | undo);
            xcb_flush(connection_);
            return Error{combination.text + " is already used by another application"};
        }
    }
    grabbed_[*key] = combination;
    return success();
}

void XcbKeyGrabs::release(const KeyCombination& combination) {
    const auto key = keyOf(combination);
    if (!key)
        return;
    for (auto locks : lockVariants)
        xcb_ungrab_key(connection_, key->keycode, root_, key->modifiers | locks);
    // A round trip, not a flush: once this returns the server has let the
    // keys go, so a press sent right after (a recorder listening for the
    // same combination) reaches the focused window.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    grabbed_.erase(*key);
}

void XcbKeyGrabs::readEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
            const auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
            const Key key{press->detail,
                          static_cast<std::uint16_t>(press->state & shortcutModifiers)};
            if (auto found = grabbed_.find(key); found != grabbed_.end()) {
                const KeyCombination combination = found->second;
                std::free(event);
                pressed_(combination);
                continue;
            }
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection_))
        notifier_->setEnabled(false);
}

}  // namespace quorvane::platform::x11

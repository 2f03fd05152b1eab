#include "adapters/x11/XkbKeyboardLayout.hpp"

#include <xcb/xcb.h>
// The header names a field "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon.h>

#include <QSocketNotifier>
#include <cstdlib>

#include "platform/MacKeyCodes.hpp"
#include "adapters/x11/CoreKeyboard.hpp"

namespace quorvane::platform::x11 {

namespace {

constexpr auto source = "KeyboardLayout";

// What the keymap reports: keyboards replaced, maps changed, and the group.
constexpr std::uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                 XCB_XKB_EVENT_TYPE_MAP_NOTIFY | XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
constexpr std::uint16_t mapParts =
    XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
    XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
    XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
constexpr std::uint16_t groupParts =
    XCB_XKB_STATE_PART_GROUP_BASE | XCB_XKB_STATE_PART_GROUP_LATCH | XCB_XKB_STATE_PART_GROUP_LOCK;

}  // namespace

XkbKeyboardLayout::Table XkbKeyboardLayout::tableFor(xkb_keymap* keymap, std::uint32_t group) {
    Table table{};
    for (std::uint16_t mac = 0; mac < table.size(); ++mac) {
        const auto x11 = x11KeyCodeForMac(mac);
        if (!x11)
            continue;
        const xkb_keycode_t keycode = *x11;
        const auto layouts = xkb_keymap_num_layouts_for_key(keymap, keycode);
        if (layouts == 0)
            continue;
        // A key with fewer groups than the keymap takes its first, as the
        // server does.
        const auto layout = group < layouts ? group : 0;
        const xkb_keysym_t* symbols = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap, keycode, layout, 0, &symbols) < 1)
            continue;
        char buffer[8];
        if (xkb_keysym_to_utf8(symbols[0], buffer, sizeof buffer) <= 1)
            continue;
        // Characters only: Return, Tab and Escape type control codes.
        const auto first = static_cast<unsigned char>(buffer[0]);
        if (first <= 0x20 || first == 0x7f)
            continue;
        table[mac] = buffer;
    }
    return table;
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::connect(Log& log) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::uint8_t eventBase = 0;
    auto keyboard = CoreKeyboard::open(connection, &eventBase);
    if (!keyboard) {
        log.warning(source, "the X server has no keyboard extension: caps show typed characters");
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<XkbKeyboardLayout>(
        new XkbKeyboardLayout(log, connection, std::move(keyboard), eventBase));
}

XkbKeyboardLayout::XkbKeyboardLayout(Log& log, xcb_connection_t* connection,
                                     std::unique_ptr<CoreKeyboard> keyboard, std::uint8_t eventBase)
    : log_(log), connection_(connection), keyboard_(std::move(keyboard)), eventBase_(eventBase) {
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = groupParts;
    details.stateDetails = groupParts;
    xcb_xkb_select_events_aux(connection_, static_cast<xcb_xkb_device_spec_t>(keyboard_->device()),
                              events, 0, 0, mapParts, mapParts, &details);
    xcb_flush(connection_);
    group_ = xkb_state_serialize_layout(keyboard_->state(), XKB_STATE_LAYOUT_EFFECTIVE);
    table_ = tableFor(keyboard_->keymap(), group_);
    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                  QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { readEvents(); });
}

XkbKeyboardLayout::~XkbKeyboardLayout() {
    notifier_.reset();
    keyboard_.reset();
    xcb_disconnect(connection_);
}

std::string_view XkbKeyboardLayout::baseCharacter(std::uint16_t keyCode) const {
    return keyCode < table_.size() ? std::string_view(table_[keyCode]) : std::string_view();
}

void XkbKeyboardLayout::readEvents() {
    bool keymapChanged = false;
    bool groupChanged = false;
    while (auto* event = xcb_poll_for_event(connection_)) {
        if (event->response_type == eventBase_) {
            // Every XKB event carries its kind in the byte after the type.
            const auto kind = reinterpret_cast<const std::uint8_t*>(event)[1];
            if (kind == XCB_XKB_NEW_KEYBOARD_NOTIFY || kind == XCB_XKB_MAP_NOTIFY) {
                keymapChanged = true;
            } else if (kind == XCB_XKB_STATE_NOTIFY) {
                const auto* state = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
                if (state->group != group_) {
                    group_ = state->group;
                    groupChanged = true;
                }
            }
        }
        std::free(event);
    }
    if (keymapChanged) {
        if (!keyboard_->reload())
            log_.warning(source, "the new keymap could not be read: the last one stays");
        group_ = xkb_state_serialize_layout(keyboard_->state(), XKB_STATE_LAYOUT_EFFECTIVE);
    }
    if (keymapChanged || groupChanged)
        table_ = tableFor(keyboard_->keymap(), group_);
    if (xcb_connection_has_error(connection_))
        notifier_->setEnabled(false);
}

}  // namespace quorvane::platform::x11

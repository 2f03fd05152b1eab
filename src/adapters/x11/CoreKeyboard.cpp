#include "adapters/x11/CoreKeyboard.hpp"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace quorvane::platform::x11 {

std::unique_ptr<CoreKeyboard> CoreKeyboard::open(xcb_connection_t* connection,
                                                 std::uint8_t* eventBase) {
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                     XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr,
                                     eventBase, nullptr))
        return nullptr;
    const auto device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0)
        return nullptr;
    auto* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!context)
        return nullptr;
    std::unique_ptr<CoreKeyboard> keyboard(new CoreKeyboard(connection, context, device));
    if (!keyboard->reload())
        return nullptr;
    return keyboard;
}

CoreKeyboard::~CoreKeyboard() {
    if (state_)
        xkb_state_unref(state_);
    if (keymap_)
        xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

bool CoreKeyboard::reload() {
    auto* keymap =
        xkb_x11_keymap_new_from_device(context_, connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap)
        return false;
    auto* state = xkb_x11_state_new_from_device(keymap, connection_, device_);
    if (!state) {
        xkb_keymap_unref(keymap);
        return false;
    }
    if (state_)
        xkb_state_unref(state_);
    if (keymap_)
        xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    state_ = state;
    return true;
}

}  // namespace quorvane::platform::x11

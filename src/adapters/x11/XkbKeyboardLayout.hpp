#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/KeyboardLayout.hpp"
#include "platform/Log.hpp"

class QSocketNotifier;
struct xcb_connection_t;
struct xkb_keymap;

namespace quorvane::platform::x11 {

class CoreKeyboard;

// The X server's keyboard layout, followed live: a table of what each Mac
// key code types with no modifier in the active group, rebuilt when the
// keymap changes (a new keyboard, `setxkbmap`) or the group does (the
// user switches layouts). Its own connection, read on the main thread.
class XkbKeyboardLayout final : public KeyboardLayout {
  public:
    using Table = std::array<std::string, 128>;

    // Null when the display cannot be reached or has no XKB.
    static std::unique_ptr<XkbKeyboardLayout> connect(Log& log);
    ~XkbKeyboardLayout() override;

    std::string_view baseCharacter(std::uint16_t keyCode) const override;

    // The base characters of one of the keymap's layouts by Mac key code.
    static Table tableFor(xkb_keymap* keymap, std::uint32_t group);

  private:
    XkbKeyboardLayout(Log& log, xcb_connection_t* connection, std::unique_ptr<CoreKeyboard> keyboard,
                      std::uint8_t eventBase);
    void readEvents();

    Log& log_;
    xcb_connection_t* connection_;
    std::unique_ptr<CoreKeyboard> keyboard_;
    std::uint8_t eventBase_;
    std::uint32_t group_ = 0;
    Table table_{};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quorvane::platform::x11

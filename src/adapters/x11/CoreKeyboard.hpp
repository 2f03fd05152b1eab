#pragma once

#include <cstdint>
#include <memory>

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace quorvane::platform::x11 {

// The X server's core keyboard as xkbcommon reads it: the keymap of the
// user's layouts and a state to follow. Shared by the input stream (the
// characters keys type) and the layout adapter (what caps are labelled).
class CoreKeyboard {
  public:
    // Null when the server has no XKB. `eventBase` receives where XKB's
    // events start on this connection.
    static std::unique_ptr<CoreKeyboard> open(xcb_connection_t* connection,
                                              std::uint8_t* eventBase = nullptr);
    ~CoreKeyboard();
    CoreKeyboard(const CoreKeyboard&) = delete;
    CoreKeyboard& operator=(const CoreKeyboard&) = delete;

    // Reads the keymap and state again (the layout or the keyboard changed).
    bool reload();

    std::int32_t device() const { return device_; }
    xkb_keymap* keymap() const { return keymap_; }
    xkb_state* state() const { return state_; }

  private:
    CoreKeyboard(xcb_connection_t* connection, xkb_context* context, std::int32_t device)
        : connection_(connection), context_(context), device_(device) {}

    xcb_connection_t* connection_;
    xkb_context* context_;
    std::int32_t device_;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
};

}  // namespace quorvane::platform::x11

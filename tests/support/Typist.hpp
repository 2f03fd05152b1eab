#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace quorvane::testing {

// Another client of the X server typing on the keyboard, as a person would.
class Typist {
  public:
    Typist()
        : connection_(xcb_connect(nullptr, nullptr)), symbols_(xcb_key_symbols_alloc(connection_)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~Typist() {
        xcb_key_symbols_free(symbols_);
        xcb_disconnect(connection_);
    }
    // Presses the keys in order, then lets them go in reverse.
    void type(std::initializer_list<xcb_keysym_t> keysyms) {
        std::vector<xcb_keycode_t> codes;
        for (auto keysym : keysyms) {
            xcb_keycode_t* found = xcb_key_symbols_get_keycode(symbols_, keysym);
            codes.push_back(found ? *found : 0);
            std::free(found);
        }
        for (auto code : codes)
            xcb_test_fake_input(connection_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, root_, 0, 0, 0);
        for (auto code = codes.rbegin(); code != codes.rend(); ++code)
            xcb_test_fake_input(connection_, XCB_KEY_RELEASE, *code, XCB_CURRENT_TIME, root_, 0, 0,
                                0);
        sync();
    }

  private:
    void sync() {
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    xcb_connection_t* connection_;
    xcb_key_symbols_t* symbols_;
    xcb_window_t root_ = 0;
};

inline constexpr xcb_keysym_t controlKey = 0xffe3, altKey = 0xffe9, escapeKey = 0xff1b;

}  // namespace quorvane::testing

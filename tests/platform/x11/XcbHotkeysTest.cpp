#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <QCoreApplication>
#include <cstdlib>

#include "platform/memory/MemoryLog.hpp"
#include "platform/memory/MemoryUserDefaults.hpp"
#include "platform/x11/XcbHotkeys.hpp"
#include "support/WaitFor.hpp"

namespace quorvane::platform::x11 {
namespace {

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

constexpr xcb_keysym_t controlKey = 0xffe3, altKey = 0xffe9, kKey = 'k', jKey = 'j';

using quorvane::testing::waitFor;

TEST(XcbHotkeys, aGrabbedCombinationTypedOnTheKeyboardReachesItsHandler) {
    int argc = 1;
    char name[] = "x11-test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    memory::MemoryUserDefaults defaults;
    memory::MemoryLog log;
    auto hotkeys = XcbHotkeys::connect(defaults, log);
    ASSERT_TRUE(hotkeys) << "needs an X display (run under xvfb-run)";

    int pressed = 0;
    hotkeys->onKeyDown("SnapWindowsTask", [&] { ++pressed; });
    ASSERT_TRUE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+K"}));
    EXPECT_EQ(defaults.stringValue("Hotkeys.SnapWindowsTask"), "Ctrl+Alt+K");

    Typist typist;
    typist.type({controlKey, altKey, kKey});
    EXPECT_TRUE(waitFor([&] { return pressed == 1; }));
    typist.type({kKey});
    typist.type({controlKey, altKey, jKey});
    typist.type({controlKey, altKey, kKey});
    EXPECT_TRUE(waitFor([&] { return pressed == 2; }));
    EXPECT_EQ(pressed, 2);

    // Another program holding the combination: refused, not shared.
    memory::MemoryUserDefaults otherDefaults;
    auto other = XcbHotkeys::connect(otherDefaults, log);
    ASSERT_TRUE(other);
    auto refused = other->setCombination("Elsewhere", {"Ctrl+Alt+K"});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "Ctrl+Alt+K is already used by another application");

    // Cleared: the key is released and goes to whoever wants it.
    hotkeys->clear("SnapWindowsTask");
    EXPECT_TRUE(other->setCombination("Elsewhere", {"Ctrl+Alt+K"}));
    EXPECT_FALSE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+Launch Mail"}));
}

}  // namespace
}  // namespace quorvane::platform::x11

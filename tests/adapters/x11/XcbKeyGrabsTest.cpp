#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/qt/X11Hotkeys.hpp"
#include "adapters/x11/XcbKeyGrabs.hpp"
#include "support/Typist.hpp"
#include "support/WaitFor.hpp"

namespace quorvane::platform::x11 {
namespace {

using quorvane::testing::Typist;

using quorvane::testing::altKey;
using quorvane::testing::controlKey;
constexpr xcb_keysym_t kKey = 'k', jKey = 'j';

using quorvane::testing::waitFor;

std::unique_ptr<qt::X11Hotkeys> hotkeysOnThisDisplay(UserDefaults& defaults, Log& log) {
    return std::make_unique<qt::X11Hotkeys>(defaults, log, [](KeyGrabs::Pressed pressed) {
        return std::unique_ptr<KeyGrabs>(XcbKeyGrabs::connect(std::move(pressed)));
    });
}

TEST(XcbKeyGrabs, aGrabbedCombinationTypedOnTheKeyboardReachesItsHandler) {
    int argc = 1;
    char name[] = "x11-test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    memory::MemoryUserDefaults defaults;
    memory::MemoryLog log;
    auto hotkeys = hotkeysOnThisDisplay(defaults, log);

    // Handlers without a combination hold nothing: the display is not
    // connected for them.
    int pressed = 0;
    hotkeys->onKeyDown("SnapWindowsTask", [&] { ++pressed; });
    EXPECT_FALSE(hotkeys->isConnected());
    ASSERT_TRUE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+K"}))
        << "needs an X display (run under xvfb-run)";
    EXPECT_TRUE(hotkeys->isConnected());
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
    auto other = hotkeysOnThisDisplay(otherDefaults, log);
    auto refused = other->setCombination("Elsewhere", {"Ctrl+Alt+K"});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "Ctrl+Alt+K is already used by another application");

    // Cleared: the key is released and goes to whoever wants it.
    hotkeys->clear("SnapWindowsTask");
    EXPECT_TRUE(other->setCombination("Elsewhere", {"Ctrl+Alt+K"}));
    EXPECT_FALSE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+Launch Mail"}));
}

// A display that cannot be reached: the combination is refused and not
// recorded, and the next one tries the display again.
TEST(XcbKeyGrabs, aDisplayThatCannotBeReachedRefusesTheShortcutAndIsTriedAgain) {
    memory::MemoryUserDefaults defaults;
    memory::MemoryLog log;
    int attempts = 0;
    qt::X11Hotkeys hotkeys(defaults, log, [&](KeyGrabs::Pressed) {
        ++attempts;
        return std::unique_ptr<KeyGrabs>();
    });
    auto refused = hotkeys.setCombination("SnapWindowsTask", {"Ctrl+Alt+K"});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "Ctrl+Alt+K cannot be held: the X display cannot be reached");
    EXPECT_FALSE(hotkeys.combination("SnapWindowsTask"));
    EXPECT_FALSE(defaults.stringValue("Hotkeys.SnapWindowsTask"));
    EXPECT_FALSE(hotkeys.setCombination("SnapWindowsTask", {"Ctrl+Alt+J"}));
    EXPECT_EQ(attempts, 2);
}

}  // namespace
}  // namespace quorvane::platform::x11

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/x11/XcbHotkeys.hpp"
#include "support/Typist.hpp"
#include "support/WaitFor.hpp"

namespace quorvane::platform::x11 {
namespace {

using quorvane::testing::Typist;

using quorvane::testing::altKey;
using quorvane::testing::controlKey;
constexpr xcb_keysym_t kKey = 'k', jKey = 'j';

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

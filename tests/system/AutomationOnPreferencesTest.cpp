#include "core/automation/AutomationManager.hpp"
#include "platform/SystemEventCenter.hpp"
#include "system/SystemFixture.hpp"

namespace quorvane::system {
namespace {

using Automation = core::Automation;

struct AutomationOnPreferencesTest : testing::SystemFixture {
    platform::SystemEventCenter events{journal};

    std::string hiddenFiles() {
        auto read = realShell.run("defaults read com.apple.finder AppleShowAllFiles");
        return read ? read.value() : "(none)";
    }
};

// A fresh start: the switch has never been shown, so the Store says off
// while the system says on. "Turn Off" must still turn it off.
TEST_F(AutomationOnPreferencesTest, turnOffActsOnTheSystemsRealStateNotTheUnreadSwitch) {
    ASSERT_TRUE(realShell.run("defaults write com.apple.finder AppleShowAllFiles -bool true"));
    build();
    core::AutomationManager manager(*catalogue, persistor, events, log);
    manager.setAction(Automation::Action::toggleOff, "ShowHiddenFilesTask",
                      Automation::Event::screenLocked);
    manager.setAction(Automation::Action::toggleOn, "AutoHideDockTask",
                      Automation::Event::screenLocked);
    ASSERT_FALSE(store.mState->showHiddenFile);

    events.post("com.apple.screenIsLocked");
    settle();
    EXPECT_EQ(hiddenFiles(), "0");
    EXPECT_FALSE(store.mState->showHiddenFile);
    EXPECT_EQ(realShell.run("defaults read com.apple.dock autohide").value(), "1");

    // Already as wanted: nothing is written or restarted.
    const auto before = journalLines().size();
    events.post("com.apple.screenIsLocked");
    settle();
    EXPECT_EQ(journalLines().size(), before + 1);  // the event itself
}

}  // namespace
}  // namespace quorvane::system

#include <gtest/gtest.h>

#include "input/KeyboardTweakFixture.hpp"
#include "input/keyboard/LockScreenTask.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "simmac/SimDesktopCommand.hpp"
#include "simmac/SimHotkeys.hpp"

namespace quorvane::input {
namespace {

using namespace platform;

class LockScreen : public testing::KeyboardTweakFixture {
  protected:
    memory::MemoryAlerts alerts;
    sim::SimHotkeys hotkeys{defaults, log};
    std::unique_ptr<LockScreenTask> lock = [this] {
        services.alerts = &alerts;
        services.hotkeys = [this]() -> const Hotkeys* { return &hotkeys; };
        return std::make_unique<LockScreenTask>(core::TweakInfo{.id = "LockScreenTask"},
                                                &core::MState::lockScreen, services);
    }();

    void run(std::vector<std::string> words) {
        auto command = sim::SimDesktopCommand::parse(words);
        ASSERT_TRUE(command) << command.error().message;
        ASSERT_TRUE(desktop.perform(command.value()));
    }
    void switchTo(bool on) {
        lock->setOn(on);
        (void)lock->run();
    }
    void showUnlockIcon(bool on) {
        store.pState.modify([on](core::PState& state) { state._showUnlockScreen = on; });
    }
    std::string typedIntoTextEdit() { return desktop.text(200); }
};

TEST_F(LockScreen, WithNoWayOutItIsRefusedAndSwitchedOff) {
    lock->setOn(true);
    const auto outcome = lock->run();
    EXPECT_FALSE(outcome.isDone()) << "a refused lock reported as done";
    EXPECT_EQ(outcome.reason(), LockScreenTask::noWayOut);
    EXPECT_TRUE(outcome.alertShown());
    EXPECT_FALSE(lock->isOn());
    EXPECT_FALSE(lock->isLocked());
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown.front().message, LockScreenTask::noWayOut);
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_FALSE(desktop.isInputHeld());
}

TEST_F(LockScreen, NothingReachesTextEditUntilTheShortcutUnlocks) {
    ASSERT_TRUE(hotkeys.setCombination("LockScreenTask", {"Ctrl+Alt+L"}));
    run({"click", "300", "300"});  // TextEdit's window in front
    switchTo(true);
    ASSERT_TRUE(lock->isLocked());
    // A window on each screen, taking clicks and keys.
    ASSERT_EQ(overlays.shown().size(), 2u);
    EXPECT_FALSE(overlays.shown().front().second.passesInput);
    EXPECT_EQ(overlays.shown().back().second.frame, screens.screens()[1].frame);

    run({"type", "hi"});
    run({"key", "Meta+Tab"});
    run({"click", "10", "10"});
    EXPECT_EQ(typedIntoTextEdit(), "");
    EXPECT_TRUE(lock->isOn());

    // Locking again keeps the lock there is.
    switchTo(true);
    EXPECT_EQ(overlays.shown().size(), 2u);

    // Another combination does nothing; the recorded one unlocks.
    run({"key", "Ctrl+L"});
    EXPECT_TRUE(lock->isLocked());
    run({"key", "Ctrl+Alt+L"});
    EXPECT_FALSE(lock->isLocked());
    EXPECT_FALSE(lock->isOn());
    EXPECT_TRUE(overlays.shown().empty());
    run({"type", "ok"});
    EXPECT_EQ(typedIntoTextEdit(), "ok");
}

TEST_F(LockScreen, TheUnlockButtonUnlocksAndSwitchingOffAnywhereDoesToo) {
    showUnlockIcon(true);
    switchTo(true);
    ASSERT_TRUE(lock->isLocked());
    EXPECT_TRUE(overlays.shown().front().second.showsUnlock);
    // The main screen's button is in its middle (720, 450 either way up).
    run({"click", "100", "100"});
    EXPECT_TRUE(lock->isLocked());
    run({"click", "720", "450"});
    EXPECT_FALSE(lock->isLocked());
    EXPECT_TRUE(overlays.shown().empty());

    // The lock outlives the icon being switched off; the toggle ends it.
    switchTo(true);
    showUnlockIcon(false);
    run({"click", "720", "450"});
    EXPECT_TRUE(lock->isLocked());
    switchTo(false);
    EXPECT_FALSE(lock->isLocked());
    EXPECT_FALSE(desktop.isInputHeld());
    EXPECT_TRUE(overlays.shown().empty());
}

TEST_F(LockScreen, ALockEndedByTheSystemUnlocksAndSaysWhy) {
    struct EndingTaps final : EventTaps {
        SwallowEnded ended;
        Result<Token> install(EventMask, Callback, std::function<void()>) override { return Token{1}; }
        void enable(Token) override {}
        void uninstall(Token) override { ++uninstalled; }
        Result<Token> swallowAll(SwallowHeard, SwallowEnded end) override {
            ended = std::move(end);
            return Token{7};
        }
        int uninstalled = 0;
    } taps;
    InputServices ending{.monitors = monitors.global,
                         .localMonitors = monitors.local,
                         .taps = taps,
                         .poster = poster,
                         .journal = journal,
                         .log = log,
                         .windows = windows,
                         .store = windows.store,
                         .mainQueue = windows.mainQueue};
    KeyboardTweakServices rebound{.input = ending, .overlays = overlays, .layout = nullptr,
                                  .defaults = defaults, .persistor = persistor,
                                  .settingsWorker = settingsWorker, .alerts = &alerts,
                                  .hotkeys = services.hotkeys};
    LockScreenTask watched({.id = "LockScreenTask"}, &core::MState::lockScreen, rebound);
    ASSERT_TRUE(hotkeys.setCombination("LockScreenTask", {"Ctrl+Alt+L"}));
    watched.setOn(true);
    (void)watched.run();
    ASSERT_TRUE(watched.isLocked());
    taps.ended("the main thread stopped answering for 2 seconds");
    EXPECT_FALSE(watched.isLocked());
    EXPECT_FALSE(watched.isOn());
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_EQ(taps.uninstalled, 0);  // it had ended already
    const auto lines = journal.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "LockScreenTask input lock ended: the main thread stopped answering for 2 seconds"),
              lines.end());
}

}  // namespace
}  // namespace quorvane::input

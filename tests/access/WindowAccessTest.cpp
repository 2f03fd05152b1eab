#include <gtest/gtest.h>

#include "core/CanToggle.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "input/monitoring/EventTap.hpp"
#include "input/monitoring/InputPoster.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimWindowServer.hpp"
#include "access/AccessibilityGate.hpp"
#include "access/HideWindowService.hpp"
#include "access/WindowService.hpp"

namespace quorvane::windows {
namespace {

using namespace platform;

struct Grants final : PermissionChecker {
    bool isGranted(Permission) const override { return trusted; }
    bool trusted = true;
};

struct Asks final : PermissionAsker {
    void ask(Permission permission) override { asked.push_back(permission); }
    std::vector<Permission> asked;
};

constexpr int ownPid = 4242;

struct WindowAccessTest : ::testing::Test {
    memory::MemoryJournal journal;
    memory::MemoryLog log;
    memory::ManualMainQueue queue;
    sim::SimPasteboard pasteboard;
    sim::SimWindowServer desktop{ownPid, journal, pasteboard};
    Grants grants;
    Asks asks;
    AccessibilityGate gate{grants, asks, queue};
    AppService apps{desktop};
    WindowActions actions{desktop, desktop, journal};
    HideWindowService hiding{apps, desktop, actions};

    void perform(std::vector<std::string> words) {
        ASSERT_TRUE(desktop.perform(sim::SimDesktopCommand::parse(words).value()));
    }
    std::vector<std::string> hidden() {
        std::vector<std::string> names;
        for (const auto& app : desktop.list())
            if (app.isHidden)
                names.push_back(app.name);
        return names;
    }
};

// Revoking the permission must not leave the old monitors running, and
// switching off must never ask.
TEST_F(WindowAccessTest, theGateStopsFirstAndOnlyAsksToSwitchOn) {
    core::InMemoryToggle toggle(true);
    int stops = 0;
    int starts = 0;
    auto apply = [&] { return gate.applyToggle(toggle, [&] { ++stops; }, [&] { ++starts; }); };
    EXPECT_TRUE(apply());
    grants.trusted = false;
    EXPECT_FALSE(apply());
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(toggle.isOn());
    queue.drain();
    EXPECT_EQ(asks.asked, std::vector<Permission>{Permission::accessibility});
    EXPECT_FALSE(apply());  // off now: stops, asks nothing
    queue.drain();
    EXPECT_EQ(stops, 3);
    EXPECT_EQ(asks.asked.size(), 1u);
    EXPECT_FALSE(gate.runOneShot([&] { ++starts; }));
    EXPECT_EQ(starts, 1);
}

// At launch this program is the frontmost application; "the other apps"
// must not start out as everything but it.
TEST_F(WindowAccessTest, theFrontmostAppIsNeverThisProgramNotEvenAtLaunch) {
    ASSERT_EQ(desktop.frontmost()->pid, ownPid);
    apps.start();
    apps.start();
    EXPECT_FALSE(apps.frontmostApp.get());
    perform({"app", "activate", "200"});
    perform({"app", "activate", std::to_string(ownPid)});
    ASSERT_TRUE(apps.frontmostApp.get());
    EXPECT_EQ(apps.frontmostApp.get()->name, "TextEdit");
    // Two applications without a bundle identifier are still two.
    perform({"app", "launch", "Scratch"});
    EXPECT_EQ(apps.frontmostApp.get()->name, "Scratch");

    // This program stays: its overlays belong to tweaks that are on.
    hiding.hideOtherApps("HideOthersTask");
    EXPECT_EQ(hidden(), (std::vector<std::string>{"Finder", "TextEdit"}));
    EXPECT_EQ(journal.entries().back().cause, "HideOthersTask");
}

TEST_F(WindowAccessTest, otherWindowsAreMinimizedButOnesWithoutAButtonStay) {
    apps.start();
    perform({"window", "add", "200", "Panel", "50", "50", "200", "200", "--no-minimize"});
    perform({"window", "add", "200", "Second", "60", "60", "300", "300"});
    perform({"app", "activate", "200"});
    WindowService windowAt(desktop, desktop);
    // Cocoa space: the point (300, 200) from the top is 700 from the bottom.
    auto front = windowAt.window({300, 700});
    ASSERT_TRUE(front);
    EXPECT_EQ(attributeAs<std::string>(desktop, *front, ax::title), "Second");
    hiding.hideOtherWindows("HideWindowsTask");
    std::vector<std::string> shown;
    for (const auto& window : desktop.list(windowListOption::onScreenWindows))
        if (window.ownerPID == 200)
            shown.push_back(window.name);
    EXPECT_EQ(shown, (std::vector<std::string>{"Second", "Panel"}));
}

TEST_F(WindowAccessTest, monitorsTapsAndPostedInputAreHeldOnceAndJournaled) {
    int seen = 0;
    input::EventMonitor monitor(desktop, journal, log, "ClickToHideTask", eventMask::leftMouseUp,
                                [&](const InputEvent&) { ++seen; });
    monitor.start();
    monitor.start();
    perform({"click", "10", "400"});
    EXPECT_EQ(seen, 1);
    monitor.stop();
    monitor.stop();
    EXPECT_FALSE(desktop.isMonitoring());
    EXPECT_EQ(journal.entries().back().detail, "input monitoring stopped: left mouse up");

    // A tap the system disables is on again at once.
    int scrolls = 0;
    input::EventTap tap(desktop, journal, log, "ReverseScrollTask");
    ASSERT_TRUE(tap.start(eventMask::scrollWheel, [&](const InputEvent& event) {
        ++scrolls;
        auto reversed = event;
        reversed.scrollLinesY = -event.scrollLinesY;
        return TapAnswer::replace(reversed);
    }));
    perform({"tap-timeout"});
    EXPECT_EQ(desktop.enabledTaps(), 1u);
    EXPECT_TRUE(log.contains("on again"));
    perform({"scroll", "2"});
    EXPECT_EQ(scrolls, 1);

    // Posted input: one counted line per tweak and second.
    input::InputPoster poster(desktop, queue, journal);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(poster.post("AutoClickTask", {.type = EventType::leftMouseDown}));
    ASSERT_TRUE(poster.warpCursor("HideCursorTask", {0, 0}));
    EXPECT_EQ(journal.entries().back().detail, "pointer warped to 0 0");
    queue.advance(std::chrono::seconds(1));
    EXPECT_EQ(journal.entries().back().cause, "AutoClickTask");
    EXPECT_EQ(journal.entries().back().detail, "posted 3 events");
}

}  // namespace
}  // namespace quorvane::windows

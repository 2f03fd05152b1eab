#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

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
    auto apply = [&] {
        return gate.applyToggle(toggle, [&] { ++stops; }, [&] { ++starts; }).isDone();
    };
    EXPECT_TRUE(apply());
    grants.trusted = false;
    EXPECT_FALSE(apply());
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(toggle.isOn());
    queue.drain();
    EXPECT_EQ(asks.asked, std::vector<Permission>{Permission::accessibility});
    EXPECT_TRUE(apply());  // off now: stops, asks nothing, and that is done
    queue.drain();
    EXPECT_EQ(stops, 3);
    EXPECT_EQ(asks.asked.size(), 1u);
    const auto refused = gate.runOneShot([&] { ++starts; });
    EXPECT_EQ(refused.kind(), core::RunOutcome::Kind::refused);
    EXPECT_EQ(refused.reason(), "needs the Accessibility permission; the system was asked for it");
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

// A window manager that answers a hide at once and hides in its own time,
// or never.
struct LateWindowManager final : RunningApplications {
    explicit LateWindowManager(RunningApplications& wrapped) : inner(wrapped) {}
    std::vector<RunningApplication> list() override { return inner.list(); }
    std::optional<RunningApplication> frontmost() override { return inner.frontmost(); }
    bool hide(int pid) override {
        asked.push_back(pid);
        return true;
    }
    bool activate(int pid) override { return inner.activate(pid); }
    bool forceTerminate(int pid) override { return inner.forceTerminate(pid); }
    bool reopen(const RunningApplication& application) override {
        return inner.reopen(application);
    }
    int ownPid() const override { return inner.ownPid(); }
    Token observeActivation(Observer observer) override {
        return inner.observeActivation(std::move(observer));
    }
    void removeObserver(Token token) override { inner.removeObserver(token); }
    void act() {
        for (int pid : std::exchange(asked, {}))
            inner.hide(pid);
    }

    RunningApplications& inner;
    std::vector<int> asked;
};

// Only what changed is journaled: what is hidden or minimized already is
// left alone, and a hide counts once the state reads back so, whenever the
// window manager gets to it; one it never makes is not journaled.
TEST_F(WindowAccessTest, hidesAndMinimizesAreJournaledOnlyOnceTheyShow) {
    auto application = [&](const std::string& name) {
        for (const auto& app : desktop.list())
            if (app.name == name)
                return app;
        ADD_FAILURE() << "no application " << name;
        return RunningApplication{};
    };
    auto journaled = [&] { return journal.lines().size(); };
    LateWindowManager late(desktop);
    WindowActions lateActions{desktop, late, journal, &queue};
    const auto before = journaled();
    ASSERT_TRUE(lateActions.hide("HideOthersTask", application("Finder")));
    queue.advance(WindowActions::lookInterval);
    EXPECT_EQ(journaled(), before);
    late.act();
    queue.advance(WindowActions::lookInterval);
    ASSERT_EQ(journaled(), before + 1);
    EXPECT_EQ(journal.lines().back(), "HideOthersTask application hid Finder");
    // Hidden already: not asked again.
    EXPECT_TRUE(lateActions.hide("HideOthersTask", application("Finder")));
    EXPECT_TRUE(late.asked.empty());
    // Never done: never journaled.
    ASSERT_TRUE(lateActions.hide("HideOthersTask", application("TextEdit")));
    queue.advance(WindowActions::lookInterval * (WindowActions::looks + 2));
    EXPECT_EQ(journaled(), before + 1);

    perform({"window", "add", "200", "Second", "60", "60", "300", "300"});
    Element second{};
    for (Element window : desktop.attributeValues(desktop.application(200), ax::windows))
        if (attributeAs<std::string>(desktop, window, ax::title) == "Second")
            second = window;
    ASSERT_TRUE(actions.minimize("HideWindowsTask", second));
    ASSERT_TRUE(actions.minimize("HideWindowsTask", second));
    const auto lines = journal.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.starts_with("HideWindowsTask window minimized");
                            }),
              1);
}

// The Dock is the desktop's, and this program stays: neither is even asked
// to hide, nor are this program's windows minimized when it is in front (as
// at launch).
TEST_F(WindowAccessTest, theDesktopsPartsAndThisProgramAreNeverHiddenOrMinimized) {
    LateWindowManager late(desktop);
    WindowActions lateActions{desktop, late, journal};
    HideWindowService lateHiding{apps, late, lateActions};
    perform({"window", "add", std::to_string(ownPid), "Settings", "300", "200", "400", "300"});
    perform({"window", "add", std::to_string(ownPid), "Log", "350", "250", "400", "300"});
    ASSERT_EQ(desktop.frontmost()->pid, ownPid);
    lateHiding.hideOtherWindows("HideWindowsTask");
    EXPECT_EQ(late.asked, (std::vector<int>{sim::SimWindowServer::finderPid,
                                            sim::SimWindowServer::textEditPid}));
    const auto own = desktop.attributeValues(desktop.application(ownPid), ax::windows);
    ASSERT_EQ(own.size(), 2u);
    for (Element window : own)
        EXPECT_EQ(attributeAs<bool>(desktop, window, ax::minimized), false);
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
    EXPECT_EQ(journal.entries().back().weight, JournalWeight::input);

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
    // A warp is journaled where `quorvane desktop` shows the pointer: from
    // the top of the screen.
    ASSERT_TRUE(poster.warpCursor("HideCursorTask", {333, 456}, desktop.screens()));
    EXPECT_EQ(journal.entries().back().detail, "pointer warped to 333 444");
    // Past the last pixel (Hide cursor's corner), where the pointer stops.
    ASSERT_TRUE(poster.warpCursor("HideCursorTask", {1440, 900}, desktop.screens()));
    EXPECT_EQ(journal.entries().back().detail, "pointer warped to 1439 0");
    queue.advance(std::chrono::seconds(1));
    EXPECT_EQ(journal.entries().back().cause, "AutoClickTask");
    EXPECT_EQ(journal.entries().back().detail, "posted 3 events");
    EXPECT_EQ(journal.entries().back().weight, JournalWeight::input);
}

}  // namespace
}  // namespace quorvane::windows

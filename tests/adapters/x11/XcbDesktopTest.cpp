#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <string_view>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/qt/QtMainQueue.hpp"
#include "adapters/qt/QtScreens.hpp"
#include "adapters/x11/XcbDesktop.hpp"
#include "adapters/x11/XcbInput.hpp"
#include "support/ChildProcess.hpp"
#include "support/WaitFor.hpp"

namespace quorvane::platform::x11 {
namespace {

using quorvane::testing::ChildProcess;
using quorvane::testing::waitFor;

std::optional<CGWindow> windowOf(XcbDesktop& desktop, int pid) {
    for (auto& window : desktop.list(windowListOption::onScreenWindows))
        if (window.ownerPID == pid)
            return window;
    return std::nullopt;
}

// A window of our own on a connection of its own, optionally claiming to
// belong to another process or typed (_NET_WM_WINDOW_TYPE_DOCK).
struct OwnWindow {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    xcb_window_t window = 0;

    OwnWindow(bool overrideRedirect, std::optional<std::uint32_t> claimedPid,
              std::string_view type = {}) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        window = xcb_generate_id(connection);
        const std::uint32_t values[] = {overrideRedirect ? 1u : 0u};
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 600, 100, 200,
                          150, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_OVERRIDE_REDIRECT, values);
        if (claimedPid) {
            const char name[] = "_NET_WM_PID";
            auto* atom = xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom->atom,
                                XCB_ATOM_CARDINAL, 32, 1, &*claimedPid);
            std::free(atom);
        }
        if (!type.empty()) {
            const char name[] = "_NET_WM_WINDOW_TYPE";
            auto* property = xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
            auto* value = xcb_intern_atom_reply(
                connection,
                xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(type.size()), type.data()),
                nullptr);
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property->atom,
                                XCB_ATOM_ATOM, 32, 1, &value->atom);
            std::free(property);
            std::free(value);
        }
        xcb_map_window(connection, window);
        // A round trip: the server has made the window before another
        // connection (the adapter's) asks about it.
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
    ~OwnWindow() { xcb_disconnect(connection); }
};

struct XcbDesktopTest : ::testing::Test {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "x11-desktop-test";
        static char* argv[] = {name, nullptr};
        manager = new ChildProcess("/usr/bin/openbox", {}, {});
        application = new QGuiApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        manager->sendSignal(SIGTERM);
        manager->wait();
        delete manager;
        delete application;
    }
    static inline QGuiApplication* application = nullptr;
    static inline ChildProcess* manager = nullptr;

    memory::MemoryLog log;
    std::unique_ptr<XcbDesktop> desktop;

    void SetUp() override {
        ASSERT_TRUE(waitFor([&] {
            desktop = XcbDesktop::connect(log, &qt::QtScreens::primaryRootFrame);
            return desktop != nullptr;
        })) << "needs an X display with openbox (tools/setup.sh installs both)";
        // The window manager names itself before it is ready, and a window
        // mapped in between is never managed: wait until one of ours is.
        static bool managing = false;
        for (int attempt = 0; attempt < 10 && !managing; ++attempt) {
            OwnWindow probe(false, std::nullopt);
            managing = waitFor([&] { return windowOf(*desktop, ::getpid()).has_value(); });
        }
        ASSERT_TRUE(managing);
        waitFor([&] { return !windowOf(*desktop, ::getpid()); });
    }
};

TEST_F(XcbDesktopTest, windowsListedMovedMinimizedAndActivatedThroughTheWindowManager) {
    std::vector<int> activated;
    desktop->observeActivation([&](const RunningApplication& app) { activated.push_back(app.pid); });
    ChildProcess first("/usr/bin/xlogo", {"-geometry", "300x200+100+150"}, {});
    ASSERT_TRUE(waitFor([&] { return windowOf(*desktop, first.pid()).has_value(); })) << [&] {
        std::string listed = "pid " + std::to_string(first.pid()) + ":";
        for (const auto& window : desktop->list(windowListOption::all))
            listed += " " + std::to_string(window.ownerPID) + " " + window.name;
        return listed;
    }();
    ChildProcess second("/usr/bin/xlogo", {"-geometry", "200x100+500+300"}, {});
    ASSERT_TRUE(waitFor([&] { return windowOf(*desktop, second.pid()).has_value(); }));

    // Front to back: the one activated last first; frames include the
    // decorations. Each activation is observed.
    ASSERT_TRUE(desktop->activate(second.pid()));
    EXPECT_TRUE(waitFor([&] {
        auto listed = desktop->list(windowListOption::onScreenWindows);
        auto front = desktop->frontmost();
        return listed.size() >= 2 && listed[0].ownerPID == second.pid() &&
               listed[1].ownerPID == first.pid() && front && front->pid == second.pid();
    }));
    EXPECT_TRUE(waitFor([&] { return !activated.empty() && activated.back() == second.pid(); }));
    const auto frame = windowOf(*desktop, first.pid())->frame;
    EXPECT_GE(frame.size.width, 300);
    EXPECT_GE(frame.size.height, 200);

    // Position and size round trip.
    auto window = desktop->elementAt({frame.origin.x + 50, frame.origin.y + 60});
    ASSERT_TRUE(window);
    EXPECT_EQ(desktop->pid(*window), first.pid());
    ASSERT_TRUE(setPosition(*desktop, *window, Point{40, 80}));
    ASSERT_TRUE(setSize(*desktop, *window, Size{frame.size.width + 100, frame.size.height + 50}));
    EXPECT_TRUE(waitFor([&] {
        return position(*desktop, *window) == Point{40, 80} &&
               size(*desktop, *window) == Size{frame.size.width + 100, frame.size.height + 50};
    })) << position(*desktop, *window)->x << " " << position(*desktop, *window)->y;

    // Activation is observed, and reported as the frontmost application.
    ASSERT_TRUE(desktop->activate(first.pid()));
    EXPECT_TRUE(waitFor([&] { return !activated.empty() && activated.back() == first.pid(); }));
    EXPECT_EQ(desktop->frontmost()->pid, first.pid());

    // Minimized: off the on-screen list, still running, hidden.
    auto button = attributeAs<Element>(*desktop, *window, ax::minimizeButton);
    ASSERT_TRUE(button);
    ASSERT_TRUE(desktop->performAction(*button, ax::press));
    EXPECT_TRUE(waitFor([&] { return !windowOf(*desktop, first.pid()); }));
    bool hidden = false;
    for (const auto& app : desktop->list())
        if (app.pid == first.pid())
            hidden = app.isHidden;
    EXPECT_TRUE(hidden);
}

TEST_F(XcbDesktopTest, aClaimedPidIsNotBelievedAndOurOverlayGoesDirectlyBelowAWindow) {
    OwnWindow claiming(false, 1);
    ASSERT_TRUE(waitFor([&] { return windowOf(*desktop, ::getpid()).has_value(); }));
    EXPECT_EQ(windowOf(*desktop, 1), std::nullopt);

    const int target = windowOf(*desktop, ::getpid())->number;
    OwnWindow overlay(true, std::nullopt);
    ASSERT_TRUE(desktop->orderBelow(overlay.window, target));
    // In the root's stacking order (bottom to top) the overlay comes right
    // before the target's frame.
    auto* c = overlay.connection;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    EXPECT_TRUE(waitFor([&] {
        auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
        auto* children = xcb_query_tree_children(tree);
        const int count = xcb_query_tree_children_length(tree);
        bool below = false;
        for (int i = 0; i + 1 < count; ++i) {
            if (children[i] != overlay.window)
                continue;
            auto* up = xcb_query_tree_reply(c, xcb_query_tree(c, static_cast<xcb_window_t>(target)), nullptr);
            below = up && (children[i + 1] == up->parent || children[i + 1] == xcb_window_t(target));
            std::free(up);
        }
        std::free(tree);
        return below;
    }));
}

// A dock (a panel such as trayer) is the desktop's: an application showing
// nothing else is marked so and is not hidden; beside a window of its own,
// that window is what hiding takes.
TEST_F(XcbDesktopTest, aDockIsNoWindowOfItsApplicationAndIsNeverHidden) {
    auto ours = [&]() -> std::optional<RunningApplication> {
        for (auto& app : desktop->list())
            if (app.pid == ::getpid())
                return app;
        return std::nullopt;
    };
    auto windows = [&] {
        return desktop->attributeValues(desktop->application(::getpid()), ax::windows);
    };
    OwnWindow dock(false, std::nullopt, "_NET_WM_WINDOW_TYPE_DOCK");
    // Read once it is listed as the desktop's: while the window manager
    // takes the dock in, a reading may come and go.
    std::optional<RunningApplication> listed;
    ASSERT_TRUE(waitFor([&] {
        listed = ours();
        return listed && listed->partOfDesktop;
    }));
    EXPECT_TRUE(windows().empty());
    EXPECT_FALSE(desktop->hide(::getpid()));

    OwnWindow own(false, std::nullopt);
    ASSERT_TRUE(waitFor([&] {
        listed = ours();
        return listed && !listed->partOfDesktop && windows().size() == 1;
    }));
    ASSERT_TRUE(desktop->hide(::getpid()));
    EXPECT_TRUE(waitFor([&] { return ours() && ours()->isHidden; }));
}

// While nothing watches key-ups, a plain key's release rides with the next
// event: none is lost or reordered, and a modifier's release, or any
// release once key-ups are watched, comes at once.
TEST_F(XcbDesktopTest, aKeyReleaseNobodyWatchesWaitsForTheNextEventInOrder) {
    qt::QtMainQueue queue;
    auto input = XcbInput::connect(queue, log, {.primaryRootFrame = &qt::QtScreens::primaryRootFrame});
    ASSERT_TRUE(input);
    std::vector<InputEvent> keys;
    auto strip = input->addGlobal(eventMask::keystrokes,
                                  [&](const InputEvent& event) { keys.push_back(event); });
    ASSERT_TRUE(strip);
    auto type = [&](EventType what, std::uint16_t code) {
        ASSERT_TRUE(input->post({.type = what, .keyCode = code}));
    };
    constexpr std::uint16_t aKey = 0, shiftKey = 56;
    type(EventType::keyDown, aKey);
    type(EventType::keyUp, aKey);
    type(EventType::keyDown, aKey);
    type(EventType::keyUp, aKey);
    type(EventType::keyDown, shiftKey);
    type(EventType::keyUp, shiftKey);
    ASSERT_TRUE(waitFor([&] {
        return std::count_if(keys.begin(), keys.end(), [](const InputEvent& e) {
                   return e.type == EventType::flagsChanged && e.modifierFlags == 0;
               }) == 1;
    }));
    ASSERT_EQ(std::count_if(keys.begin(), keys.end(),
                            [](const InputEvent& e) { return e.type == EventType::keyDown; }),
              2);
    // Released in between: the second press is no repeat.
    EXPECT_FALSE(std::any_of(keys.begin(), keys.end(),
                             [](const InputEvent& e) { return e.isARepeat; }));

    std::vector<InputEvent> ups;
    auto watcher = input->addGlobal(maskOf(EventType::keyUp),
                                    [&](const InputEvent& event) { ups.push_back(event); });
    ASSERT_TRUE(watcher);
    // The release alone, after its press has come: nothing follows it.
    // (At least: on a busy machine the server may repeat the held key.)
    type(EventType::keyDown, aKey);
    ASSERT_TRUE(waitFor([&] {
        return std::count_if(keys.begin(), keys.end(),
                             [](const InputEvent& e) { return e.type == EventType::keyDown; }) >= 3;
    }));
    type(EventType::keyUp, aKey);
    EXPECT_TRUE(waitFor([&] { return !ups.empty(); }));
    input->remove(watcher.value());
    input->remove(strip.value());
}

TEST_F(XcbDesktopTest, postedInputReachesAGlobalMonitorAndAKilledLockLetsGo) {
    qt::QtMainQueue queue;
    auto input = XcbInput::connect(queue, log, {.primaryRootFrame = &qt::QtScreens::primaryRootFrame});
    ASSERT_TRUE(input);
    std::vector<InputEvent> seen;
    auto monitor = input->addGlobal(eventMask::windowDrag | eventMask::keystrokes,
                                    [&](const InputEvent& event) { seen.push_back(event); });
    ASSERT_TRUE(monitor);
    EXPECT_TRUE(input->isRecording());
    const Rect primary = qt::QtScreens::primaryRootFrame();
    const Point start{100, primary.size.height - 100};
    ASSERT_TRUE(input->post({.type = EventType::leftMouseDown, .location = start}));
    ASSERT_TRUE(input->post({.type = EventType::leftMouseDragged, .location = {150, start.y - 20}}));
    ASSERT_TRUE(input->post({.type = EventType::leftMouseUp, .location = {150, start.y - 20}}));
    ASSERT_TRUE(input->post({.type = EventType::keyDown, .keyCode = 0, .modifierFlags = modifier::shift}));
    ASSERT_TRUE(input->post({.type = EventType::keyUp, .keyCode = 0}));
    ASSERT_TRUE(waitFor([&] {
        return std::any_of(seen.begin(), seen.end(),
                           [](const InputEvent& e) { return e.type == EventType::keyDown; });
    }));
    auto dragged = std::find_if(seen.begin(), seen.end(), [](const InputEvent& e) {
        return e.type == EventType::leftMouseDragged;
    });
    ASSERT_NE(dragged, seen.end());
    EXPECT_EQ(dragged->location, (Point{150, start.y - 20}));
    auto key = std::find_if(seen.begin(), seen.end(),
                            [](const InputEvent& e) { return e.type == EventType::keyDown; });
    EXPECT_EQ(key->keyCode, 0);
    EXPECT_EQ(key->modifierFlags, modifier::shift);
    input->remove(monitor.value());
    EXPECT_FALSE(input->isRecording());

    // A lock held by a process that is killed, crashes or stops answering
    // ends with it, or with its watchdog.
    auto lockable = [&] {
        auto lock = input->swallowAll({}, {});
        if (lock)
            input->uninstall(lock.value());
        return bool(lock);
    };
    for (const std::string how : {"", "crash", "stall"}) {
        SCOPED_TRACE(how.empty() ? "killed" : how);
        ChildProcess holder(QUORVANE_INPUT_LOCK_PROBE, how.empty() ? std::vector<std::string>{}
                                                                   : std::vector<std::string>{how},
                            {{"QT_QPA_PLATFORM", "xcb"}});
        ASSERT_EQ(holder.readLine(std::chrono::seconds(10)), "locked");
        EXPECT_FALSE(input->swallowAll({}, {}));
        if (how.empty())
            holder.sendSignal(SIGKILL);
        const auto asked = std::chrono::steady_clock::now();
        EXPECT_TRUE(waitFor(lockable));
        if (how == "stall") {
            // Given back while the main thread still sleeps, and said so after.
            EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(3000));
            EXPECT_EQ(holder.readLine(std::chrono::seconds(5)),
                      "ended: the main thread stopped answering for 2 seconds");
        }
        holder.sendSignal(SIGKILL);
        holder.wait();
    }
}

}  // namespace
}  // namespace quorvane::platform::x11

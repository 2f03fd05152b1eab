#include <gtest/gtest.h>

#include "input/KeyboardTweakFixture.hpp"
#include "input/mouse/HideCursorTask.hpp"
#include "input/mouse/VisualizeCursorTask.hpp"

namespace quorvane::input {
namespace {

using namespace std::chrono_literals;
using testing::KeyboardTweakFixture;
using namespace platform;

class CursorTweaksTest : public KeyboardTweakFixture {
  protected:
    InputEvent at(EventType type, Point where) { return {.type = type, .location = where}; }
    void send(EventType type, Point where) { monitors.global.registry.dispatch(at(type, where)); }
};

TEST_F(CursorTweaksTest, HideCursorParksAtTheHighestRightmostCornerAndComesBackExactly) {
    HideCursorTask hide({.id = "HideCursorTask"}, mouse);
    // The screen above reaches further right and higher.
    EXPECT_EQ(HideCursorTask::parkingPoint(screens.screens()), (Point{1720, 1980}));

    ASSERT_TRUE(desktop.warpCursor({333.5, 211.25}));
    monitors.global.pointer = desktop.mouseLocation();
    (void)hide.run();
    EXPECT_TRUE(hide.isParked());
    // The simulated Mac keeps the pointer on its own (one) screen, in its
    // top-right corner.
    EXPECT_EQ(desktop.mouseLocation(), (Point{1439, 900}));

    (void)hide.run();
    EXPECT_FALSE(hide.isParked());
    EXPECT_EQ(desktop.mouseLocation(), (Point{333.5, 211.25}));
    const auto lines = journal.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const auto& line) { return line.find("pointer warped") != std::string::npos; }),
              2);
}

TEST_F(CursorTweaksTest, TheRingShowsWhileAButtonIsHeldAndOnlyThenMoves) {
    VisualizeCursorTask ring({.id = "VisualizeCursorTask"}, core::PKeyPath(&core::PState::visualizeCursor),
                             mouse);
    ring.setOn(true);
    (void)ring.run();
    send(EventType::mouseMoved, {10, 10});
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_EQ(overlays.updateCount, 0);

    send(EventType::rightMouseDown, {200, 300});
    ASSERT_EQ(overlays.shown().size(), 1u);
    const auto description = overlays.shown().front().second;
    EXPECT_EQ(description.frame, (Rect{{125, 225}, {150, 150}}));
    EXPECT_TRUE(description.pressed);
    EXPECT_TRUE(description.passesInput);
    EXPECT_EQ(description.level, 1000);

    send(EventType::rightMouseDragged, {210, 300});
    EXPECT_EQ(overlays.shown().front().second.frame.origin, (Point{135, 225}));
    send(EventType::rightMouseUp, {210, 300});
    EXPECT_FALSE(overlays.shown().front().second.pressed);
    queue.advance(100ms);
    EXPECT_TRUE(overlays.shown().empty());

    // A double click: the second press within 0.1 s keeps the ring.
    send(EventType::leftMouseDown, {50, 50});
    send(EventType::leftMouseUp, {50, 50});
    queue.advance(50ms);
    send(EventType::leftMouseDown, {50, 50});
    queue.advance(200ms);
    ASSERT_EQ(overlays.shown().size(), 1u);
    EXPECT_TRUE(overlays.shown().front().second.pressed);

    // Our own windows' clicks show it too and pass on.
    send(EventType::leftMouseUp, {50, 50});
    queue.advance(100ms);
    EXPECT_FALSE(monitors.local.registry.dispatch(at(EventType::otherMouseDown, {5, 5})));
    EXPECT_EQ(overlays.shown().size(), 1u);

    ring.setOn(false);
    (void)ring.run();
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_EQ(monitors.global.registry.combinedMask() | monitors.local.registry.combinedMask(), 0u);
}

}  // namespace
}  // namespace quorvane::input

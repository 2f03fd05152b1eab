#include <gtest/gtest.h>

#include <random>

#include "platform/InputEvent.hpp"
#include "windows/shake/MouseShakeDetector.hpp"
#include "windows/snap/SnapGeometry.hpp"

namespace quorvane::windows {
namespace {

using platform::Point;
using platform::Rect;
using platform::Screen;

// An odd width and height: halves must still meet exactly.
TEST(SnapGeometry, targetsShareTheirEdgesAndRoundOutward) {
    const Rect v{{0, 70}, {1441, 805}};
    auto frame = [&](SnapPosition position) { return targetFrame(position, v); };
    EXPECT_EQ(frame(SnapPosition::center), v);
    EXPECT_EQ(frame(SnapPosition::left).maxX(), frame(SnapPosition::right).minX());
    EXPECT_EQ(frame(SnapPosition::right).maxX(), v.maxX());
    EXPECT_EQ(frame(SnapPosition::bottom).maxY(), frame(SnapPosition::top).minY());
    EXPECT_EQ(frame(SnapPosition::top).maxY(), v.maxY());
    EXPECT_EQ(frame(SnapPosition::topLeft), (Rect{{0, 472.5}, {720.5, 402.5}}));
    EXPECT_EQ(frame(SnapPosition::bottomRight), (Rect{{720.5, 70}, {720.5, 402.5}}));
    EXPECT_EQ(frame(SnapPosition::topRight).minX(), frame(SnapPosition::topLeft).maxX());
    EXPECT_EQ(frame(SnapPosition::bottomLeft).maxY(), frame(SnapPosition::topLeft).minY());
    // Outward: the window never ends up a point short of its target.
    EXPECT_EQ(integral(Rect{{720.5, 25}, {720.5, 402.5}}), (Rect{{720, 25}, {721, 403}}));
}

TEST(SnapGeometry, theTitleBarStripIsTheTopThirtyPoints) {
    const Rect window{{100, 300}, {600, 400}};  // Cocoa: its top is at 700
    const Rect strip = titleBarStrip(window);
    EXPECT_TRUE(strip.contains({300, 700 - 29}));
    EXPECT_FALSE(strip.contains({300, 700 - 31}));
    EXPECT_FALSE(strip.contains({99, 690}));
}

// A screen left of the primary and one above it, in Cocoa space.
std::vector<Screen> threeScreens() {
    return {{"1", "Built-in", {{0, 0}, {1440, 900}}, {{0, 70}, {1440, 805}}},
            {"2", "Left", {{-1920, 0}, {1920, 1080}}, {{-1920, 0}, {1920, 1055}}},
            {"3", "Above", {{0, 900}, {1440, 900}}, {{0, 900}, {1440, 875}}}};
}

TEST(SnapGeometry, cellsAreFoundOnEveryScreenAndDividersHitNothing) {
    const auto screens = threeScreens();
    const auto layout = layoutOf(screens);
    ASSERT_EQ(layout.tiles.size(), 3u);
    // Accessibility space: the upper screen lies at negative y.
    EXPECT_EQ(layout.frame, (Rect{{-1920, -900}, {3360, 1800}}));
    EXPECT_EQ(gridFrame(layout, screens), (Rect{{-1920, 0}, {3360, 1800}}));
    EXPECT_EQ(cellAt(layout, {10, 890}, screens), (SnapCell{0, SnapPosition::topLeft}));
    EXPECT_EQ(cellAt(layout, {720, 450}, screens), (SnapCell{0, SnapPosition::center}));
    EXPECT_EQ(cellAt(layout, {-10, 10}, screens), (SnapCell{1, SnapPosition::bottomRight}));
    EXPECT_EQ(cellAt(layout, {1430, 1790}, screens), (SnapCell{2, SnapPosition::topRight}));
    // The built-in tile's first vertical divider starts after a third of
    // what the two dividers leave.
    const double divider = (1440 - 4) / 3.0;
    EXPECT_EQ(cellAt(layout, {divider + 1, 450}, screens), std::nullopt);
    EXPECT_EQ(cellAt(layout, {5000, 450}, screens), std::nullopt);
}

// Drag events of the given horizontal moves; the first one only starts
// the drag.
int shakesFor(const std::vector<double>& moves) {
    int shakes = 0;
    MouseShakeDetector detector({.onShake = [&] { ++shakes; }});
    detector.handle({.type = platform::EventType::leftMouseDragged});
    for (double dx : moves)
        detector.handle({.type = platform::EventType::leftMouseDragged, .deltaX = dx});
    return shakes;
}

std::vector<double> strokes(std::initializer_list<int> counts, double speed = 12) {
    std::vector<double> moves;
    double direction = 1;
    for (int count : counts) {
        moves.insert(moves.end(), static_cast<std::size_t>(count), direction * speed);
        direction = -direction;
    }
    return moves;
}

TEST(MouseShake, fourStrokesInRangeShakeOnceAtTheFourthStrokesThirdEvent) {
    auto moves = strokes({5, 5, 5, 2});
    EXPECT_EQ(shakesFor(moves), 0);
    moves.push_back(-12);  // the fourth stroke's third event
    EXPECT_EQ(shakesFor(moves), 1);
    // Shaking on does nothing more in the same drag.
    EXPECT_EQ(shakesFor(strokes({5, 5, 5, 5, 5, 5, 5})), 1);
}

TEST(MouseShake, slowMovesLongStrokesAndJitterNeverShake) {
    EXPECT_EQ(shakesFor(strokes({5, 5, 5, 5, 5}, 6)), 0);       // 6 points is slow
    EXPECT_EQ(shakesFor(strokes({5, 15, 5, 5})), 0);            // a long stroke breaks the row
    EXPECT_EQ(shakesFor(strokes({5, 15, 5, 5, 5, 5})), 1);      // and counting starts again
    EXPECT_EQ(shakesFor(strokes({2, 2, 2, 2, 2, 2, 2, 2})), 0); // jitter
    EXPECT_EQ(shakesFor(std::vector<double>(10000, 40)), 0);    // a straight move
    // A long random drag: whatever it does, the detector keeps its size
    // and fires at most once.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> dx(-30, 30);
    std::vector<double> wander(100000);
    for (auto& move : wander)
        move = dx(random);
    EXPECT_LE(shakesFor(wander), 1);
}

TEST(MouseShake, theButtonsReleaseStartsAfresh) {
    int shakes = 0;
    MouseShakeDetector detector({.onShake = [&] { ++shakes; }});
    auto drag = [&](std::initializer_list<int> counts) {
        detector.handle({.type = platform::EventType::leftMouseDragged});
        for (double dx : strokes(counts))
            detector.handle({.type = platform::EventType::leftMouseDragged, .deltaX = dx});
    };
    drag({5, 5, 5});
    detector.handle({.type = platform::EventType::leftMouseUp});
    drag({5});  // three strokes before the release do not count
    EXPECT_EQ(shakes, 0);
    detector.handle({.type = platform::EventType::leftMouseUp});
    drag({5, 5, 5, 5});
    EXPECT_EQ(shakes, 1);
}

}  // namespace
}  // namespace quorvane::windows

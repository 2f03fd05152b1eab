#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "input/KeyboardTweakFixture.hpp"
#include "input/mouse/AutoClickTask.hpp"
#include "input/mouse/AutoScrollTask.hpp"
#include "input/mouse/JigglePath.hpp"
#include "input/mouse/MouseJigglerTask.hpp"

namespace quorvane::input {
namespace {

using namespace std::chrono_literals;
using testing::KeyboardTweakFixture;
using namespace platform;

core::TweakInfo infoOf(std::string id) {
    return {.id = std::move(id), .name = "Mouse tweak"};
}

// What reaches the simulated Mac: every posted event, by type.
class MouseAutomationTest : public KeyboardTweakFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.addGlobal(~EventMask{0}, [this](const InputEvent& event) {
            posted.push_back(event);
        }));
    }
    int count(EventType type) const {
        return static_cast<int>(std::count_if(posted.begin(), posted.end(),
                                              [type](const auto& event) { return event.type == type; }));
    }
    // The user's move from the pointer by (dx, dy), seen where it ends.
    InputEvent userMove(double dx, double dy = 0) {
        const Point from = monitors.global.pointer;
        return {.type = EventType::mouseMoved,
                .location = {from.x + dx, from.y + dy},
                .deltaX = dx,
                .deltaY = dy};
    }

    std::vector<InputEvent> posted;
};

TEST_F(MouseAutomationTest, AutoClickClicksAtItsRateInPairsAndNeverIntoOurWindow) {
    bool ourWindowUnder = false;
    mouse.mainWindowUnder = [&](Point) { return ourWindowUnder; };
    AutoClickTask clicker(infoOf("AutoClickTask"), &core::MState::autoClick, mouse);

    clicker.setOn(true);
    (void)clicker.run();
    queue.advance(1s);
    EXPECT_EQ(count(EventType::leftMouseDown), 1);
    EXPECT_EQ(count(EventType::leftMouseUp), 1);

    AutoClickTask::times.write(defaults, 10);
    (void)clicker.run();
    posted.clear();
    queue.advance(1s);
    EXPECT_EQ(count(EventType::leftMouseDown), 10);
    ASSERT_EQ(posted.size(), 20u);
    for (std::size_t i = 0; i < posted.size(); i += 2) {
        EXPECT_EQ(posted[i].type, EventType::leftMouseDown);
        EXPECT_EQ(posted[i + 1].type, EventType::leftMouseUp);
    }

    ourWindowUnder = true;
    posted.clear();
    queue.advance(1s);
    EXPECT_TRUE(posted.empty());

    // Off, and at exit, nothing more; no button was left down.
    ourWindowUnder = false;
    clicker.setOn(false);
    (void)clicker.run();
    queue.advance(2s);
    EXPECT_TRUE(posted.empty());
    clicker.setOn(true);
    (void)clicker.run();
    stops.stopAll();
    queue.advance(2s);
    EXPECT_TRUE(posted.empty());

    // Out-of-range rates read clamped.
    defaults.set("AutoClickTask.Manager.times", std::int64_t{500});
    EXPECT_EQ(AutoClickTask::times.read(defaults), 20);
    defaults.set("AutoClickTask.Manager.times", std::int64_t{0});
    EXPECT_EQ(AutoClickTask::times.read(defaults), 1);
}

TEST_F(MouseAutomationTest, AutoClickWithoutTrustSwitchesOffAndAsks) {
    trust.granted = false;
    AutoClickTask clicker(infoOf("AutoClickTask"), &core::MState::autoClick, mouse);
    clicker.setOn(true);
    (void)clicker.run();
    queue.advance(3s);
    EXPECT_FALSE(clicker.isOn());
    EXPECT_TRUE(posted.empty());
}

TEST(JigglePath, IsSeededEasedAndStaysInTheUpperLeftQuarter) {
    const Size screen{1440, 875};
    const auto path = jigglePath(7, {1000, 800}, screen);
    EXPECT_EQ(path, jigglePath(7, {1000, 800}, screen));
    EXPECT_NE(path, jigglePath(8, {1000, 800}, screen));
    ASSERT_GT(path.size(), 4u);
    EXPECT_EQ(path.front().at, (Point{1000, 800}));
    // The two moves end in the quarter, each followed by a long pause.
    int pauses = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto& step = path[i];
        if (step.pauseAfter >= 10ms) {
            ++pauses;
            EXPECT_LE(step.at.x, screen.width / 2);
            EXPECT_LE(step.at.y, screen.height / 2);
            EXPECT_LT(step.pauseAfter, 2000ms);
        } else {
            EXPECT_GE(step.pauseAfter, 200us);
            EXPECT_LT(step.pauseAfter, 300us);
        }
        // Eased: no step jumps, as a hand moves.
        if (i > 0) {
            EXPECT_LT(std::abs(step.at.x - path[i - 1].at.x), 10);
        }
    }
    EXPECT_EQ(pauses, 2);
    EXPECT_DOUBLE_EQ(easeInOutCubic(0), 0);
    EXPECT_DOUBLE_EQ(easeInOutCubic(0.5), 0.5);
    EXPECT_DOUBLE_EQ(easeInOutCubic(1), 1);
}

TEST_F(MouseAutomationTest, JigglerRestsWhileTheUserMovesAndResumesFiveSecondsAfter) {
    MouseJigglerTask::seconds.write(defaults, 10);
    MouseJigglerTask jiggler(infoOf("MouseJigglerTask"), &core::MState::mouseJiggler, mouse,
                             [] { return std::uint64_t{42}; });
    jiggler.setOn(true);
    (void)jiggler.run();
    EXPECT_TRUE(jiggler.isWaiting());

    monitors.global.registry.dispatch(userMove(40));
    EXPECT_FALSE(jiggler.isWaiting());
    // Small moves after it: the timer returns 5 s after the last of them.
    monitors.global.registry.dispatch(userMove(3));
    queue.advance(4s);
    monitors.global.registry.dispatch(userMove(2));
    queue.advance(4s);
    EXPECT_FALSE(jiggler.isWaiting());
    queue.advance(1s);
    EXPECT_TRUE(jiggler.isWaiting());

    jiggler.setOn(false);
    (void)jiggler.run();
    EXPECT_FALSE(jiggler.isWaiting());
    EXPECT_EQ(monitors.global.registry.combinedMask(), 0u);
}

// Whatever the last move was, one jump or a crawl straight up, it resumes
// once the mouse has rested; its own jiggle's moves leave it running.
TEST_F(MouseAutomationTest, JigglerTakesEveryMoveButItsOwnAsTheUsersAndResumesAfterAny) {
    MouseJigglerTask::seconds.write(defaults, 10);
    MouseJigglerTask jiggler(infoOf("MouseJigglerTask"), &core::MState::mouseJiggler, mouse,
                             [] { return std::uint64_t{42}; });
    jiggler.setOn(true);
    (void)jiggler.run();
    monitors.global.registry.dispatch(userMove(400, -300));
    EXPECT_FALSE(jiggler.isWaiting());
    queue.advance(MouseJigglerTask::restBeforeResuming);
    EXPECT_TRUE(jiggler.isWaiting());

    monitors.global.registry.dispatch(userMove(0, 2));
    EXPECT_FALSE(jiggler.isWaiting());
    queue.advance(MouseJigglerTask::restBeforeResuming);
    EXPECT_TRUE(jiggler.isWaiting());

    jiggler.jiggleNow();
    for (int i = 0; i < 1000 && count(EventType::mouseMoved) < 3; ++i) {
        std::this_thread::sleep_for(1ms);
        queue.drain();
    }
    ASSERT_GE(count(EventType::mouseMoved), 3);
    // Seen as the desktop reports them: rounded to pixels, some not at all.
    const Point own = posted.back().location;
    monitors.global.registry.dispatch(
        {.type = EventType::mouseMoved, .location = {std::round(own.x), std::round(own.y)}});
    EXPECT_TRUE(jiggler.isWaiting());
}

TEST_F(MouseAutomationTest, AJiggleOnItsThreadEndsAtOnceAndPostsNothingAfterwards) {
    MouseJigglerTask jiggler(infoOf("MouseJigglerTask"), &core::MState::mouseJiggler, mouse,
                             [] { return std::uint64_t{9}; });
    jiggler.setOn(true);
    (void)jiggler.run();
    jiggler.jiggleNow();
    ASSERT_TRUE(jiggler.jiggler().isJiggling());
    // Ticks while it runs are dropped, not queued.
    jiggler.jiggleNow();
    EXPECT_FALSE(jiggler.jiggler().jiggle({{{1, 1}, 1ms}}));
    std::this_thread::sleep_for(20ms);
    queue.drain();
    const auto movesBefore = count(EventType::mouseMoved);
    EXPECT_GT(movesBefore, 0);

    // A user move ends it: points already queued for the main thread are
    // dropped too.
    std::this_thread::sleep_for(5ms);
    monitors.global.registry.dispatch(userMove(50));
    const auto stoppedAt = count(EventType::mouseMoved);
    for (int i = 0; i < 20 && jiggler.jiggler().isJiggling(); ++i)
        std::this_thread::sleep_for(1ms);
    EXPECT_FALSE(jiggler.jiggler().isJiggling());
    std::this_thread::sleep_for(10ms);
    queue.drain();
    EXPECT_EQ(count(EventType::mouseMoved), stoppedAt);

    // Off mid-jiggle, and at exit, the same.
    jiggler.setOn(true);
    (void)jiggler.run();
    jiggler.jiggleNow();
    std::this_thread::sleep_for(5ms);
    jiggler.setOn(false);
    (void)jiggler.run();
    const auto offAt = count(EventType::mouseMoved);
    std::this_thread::sleep_for(10ms);
    queue.drain();
    EXPECT_EQ(count(EventType::mouseMoved), offAt);
    jiggler.setOn(true);
    (void)jiggler.run();
    jiggler.jiggleNow();
    stops.stopAll();
    const auto exitAt = count(EventType::mouseMoved);
    EXPECT_FALSE(jiggler.jiggler().jiggle({{{1, 1}, 1ms}}));
    queue.drain();
    EXPECT_EQ(count(EventType::mouseMoved), exitAt);
}

TEST(ScrollWave, RisesToItsPeakAndBackOverOneDuration) {
    ScrollWave wave;
    std::vector<std::int32_t> deltas;
    for (int i = 0; i < 50; ++i)
        deltas.push_back(wave.tick(0.1, -5, 5, 0));
    EXPECT_EQ(deltas.front(), 0);
    EXPECT_EQ(*std::min_element(deltas.begin(), deltas.end()), -5);
    EXPECT_EQ(deltas[25], -5);
    EXPECT_NEAR(wave.progress, 0, 1e-9);  // the next wave begins
    // The jitter alone stays under a pixel and is truncated away; with a
    // step, it moves the truncation.
    EXPECT_EQ(ScrollWave{.progress = 1}.tick(0.1, 0, 5, 0.99), 0);
    EXPECT_EQ(ScrollWave{.progress = 2.5}.tick(0.1, 0, 5, -0.99), 0);
    EXPECT_EQ(ScrollWave{.progress = 2.5}.tick(0.1, 1, 5, 0.5), 1);
}

TEST_F(MouseAutomationTest, AutoScrollStopsOnAMoveAndTheNextRunContinuesTheWave) {
    AutoScrollTask scroller(infoOf("AutoScrollTask"), mouse, [] { return 0.0; });
    (void)scroller.run();
    queue.advance(1s);
    EXPECT_EQ(count(EventType::scrollWheel), 10);
    EXPECT_LT(posted.back().scrollingDeltaY, 0);  // towards the end
    (void)scroller.run();  // already scrolling: nothing changes
    queue.advance(100ms);
    EXPECT_EQ(count(EventType::scrollWheel), 11);

    monitors.global.registry.dispatch(userMove(1));
    EXPECT_FALSE(scroller.isScrolling());
    const double progress = scroller.wave().progress;
    queue.advance(1s);
    EXPECT_EQ(count(EventType::scrollWheel), 11);

    (void)scroller.run();
    queue.advance(100ms);
    EXPECT_NEAR(scroller.wave().progress, progress + 0.1, 1e-9);
    // A move over our own windows, which global monitors never hear, stops
    // it too.
    monitors.local.registry.dispatch(userMove(1));
    EXPECT_FALSE(scroller.isScrolling());
    (void)scroller.run();

    // Without trust a run stops the scroll and asks.
    trust.granted = false;
    (void)scroller.run();
    EXPECT_FALSE(scroller.isScrolling());

    // Settings out of range read clamped.
    defaults.set("AutoScrollTask.Settings.speed", 0.0);
    EXPECT_DOUBLE_EQ(AutoScrollTask::speed.read(defaults), 0.02);
    defaults.set("AutoScrollTask.Settings.step", -500.0);
    EXPECT_DOUBLE_EQ(AutoScrollTask::step.read(defaults), -50);
}

}  // namespace
}  // namespace quorvane::input

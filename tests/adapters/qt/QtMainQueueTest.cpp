#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

#include "adapters/qt/QtMainQueue.hpp"

namespace quorvane::platform::qt {
namespace {

using namespace std::chrono_literals;

// These exercise the adapter on Qt's real event loop, so they spin it until
// the expected call arrives (bounded, so a broken adapter fails rather than hangs).
struct QtMainQueueTest : ::testing::Test {
    int argc = 1;
    char name[16] = "qt-main-queue";
    char* argv[1] = {name};
    QCoreApplication application{argc, argv};
    QtMainQueue queue;

    void spinUntil(const std::function<bool()>& done) {
        QEventLoop loop;
        QTimer guard;
        guard.setSingleShot(true);
        guard.start(5000);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        while (!done() && guard.isActive())
            loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
};

TEST_F(QtMainQueueTest, postsFromAWorkerRunOnTheMainThread) {
    const auto mainThread = std::this_thread::get_id();
    std::thread::id ranOn;
    std::thread worker([&] { queue.post([&] { ranOn = std::this_thread::get_id(); }); });
    worker.join();
    spinUntil([&] { return ranOn != std::thread::id(); });
    EXPECT_EQ(ranOn, mainThread);
}

TEST_F(QtMainQueueTest, delayedCallsRunNoEarlierThanAskedUnlessCancelled) {
    bool cancelledRan = false;
    auto cancelled = queue.after(10ms, [&] { cancelledRan = true; });
    cancelled.cancel();
    const Instant start = queue.now();
    Instant ranAt{0};
    queue.after(30ms, [&] { ranAt = queue.now(); });
    spinUntil([&] { return ranAt != Instant{0}; });
    EXPECT_GE(ranAt - start, 30ms);
    EXPECT_FALSE(cancelledRan);
}

}  // namespace
}  // namespace quorvane::platform::qt

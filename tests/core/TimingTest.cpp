#include <gtest/gtest.h>

#include "core/Debouncer.hpp"
#include "core/Throttle.hpp"
#include "adapters/memory/ManualMainQueue.hpp"

namespace quorvane::core {
namespace {

using namespace std::chrono_literals;

TEST(Debouncer, runsOnlyTheLastCallOnceTheCallsPause) {
    platform::memory::ManualMainQueue queue;
    Debouncer debouncer(queue, 200ms);
    std::vector<int> ran;
    debouncer.call([&] { ran.push_back(1); });
    queue.advance(150ms);
    debouncer.call([&] { ran.push_back(2); });
    queue.advance(199ms);
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(debouncer.isPending());
    queue.advance(1ms);
    EXPECT_EQ(ran, std::vector<int>{2});
    EXPECT_FALSE(debouncer.isPending());
}

TEST(Debouncer, maximumWaitBoundsTheDelayAndCancelStopsIt) {
    platform::memory::ManualMainQueue queue;
    Debouncer debouncer(queue, 300ms, 1s);
    int ran = 0;
    for (int i = 0; i < 4; ++i) {
        debouncer.call([&] { ++ran; });
        queue.advance(250ms);
    }
    EXPECT_EQ(ran, 1);  // at 1 s, although the calls never paused for 300 ms
    debouncer.call([&] { ++ran; });
    debouncer.cancel();
    queue.advance(5s);
    EXPECT_EQ(ran, 1);

    {
        Debouncer gone(queue, 100ms);
        gone.call([&] { ++ran; });
    }
    queue.advance(1s);
    EXPECT_EQ(ran, 1);
}

TEST(Throttle, deliversTheFirstAtOnceThenTheLatestOncePerInterval) {
    platform::memory::ManualMainQueue queue;
    std::vector<std::pair<int, long>> delivered;
    Throttle<int> throttle(queue, 1s, [&](const int& value) {
        delivered.emplace_back(
            value, std::chrono::duration_cast<std::chrono::milliseconds>(queue.now()).count());
    });
    throttle.send(1);
    queue.advance(100ms);
    throttle.send(2);
    throttle.send(3);
    queue.advance(900ms);
    throttle.send(4);
    queue.advance(3s);
    throttle.send(5);
    EXPECT_EQ(delivered,
              (std::vector<std::pair<int, long>>{{1, 0}, {3, 1000}, {4, 2000}, {5, 4000}}));
}

}  // namespace
}  // namespace quorvane::core

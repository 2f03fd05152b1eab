#include <gtest/gtest.h>

#include <thread>

#include "adapters/memory/ManualMainQueue.hpp"

namespace quorvane::platform::memory {
namespace {

using namespace std::chrono_literals;

TEST(ManualMainQueue, firesTimersInDeadlineOrderIncludingThoseScheduledOnTheWay) {
    ManualMainQueue queue;
    std::vector<std::string> fired;
    queue.after(300ms,
                [&] { fired.push_back("c@" + std::to_string(queue.now().count() / 1000000)); });
    queue.after(100ms, [&] {
        fired.push_back("a@" + std::to_string(queue.now().count() / 1000000));
        queue.after(100ms,
                    [&] { fired.push_back("b@" + std::to_string(queue.now().count() / 1000000)); });
    });
    auto cancelled = queue.after(150ms, [&] { fired.push_back("never"); });
    cancelled.cancel();
    queue.advance(0.3s);
    EXPECT_EQ(fired, (std::vector<std::string>{"a@100", "b@200", "c@300"}));
    EXPECT_EQ(queue.now(), 300ms);
    EXPECT_EQ(queue.pendingTimers(), 0u);
}

TEST(ManualMainQueue, thirdsOfASecondAddUpExactly) {
    ManualMainQueue queue;
    bool fired = false;
    queue.after(0.1s + 0.2s, [&] { fired = true; });
    queue.advance(0.1s);
    queue.advance(0.1s);
    queue.advance(0.1s);
    EXPECT_TRUE(fired);
}

TEST(ManualMainQueue, postsFromOtherThreadsRunOnDrain) {
    ManualMainQueue queue;
    int ran = 0;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i)
            queue.post([&] { ++ran; });
    });
    worker.join();
    EXPECT_EQ(ran, 0);
    queue.drain();
    EXPECT_EQ(ran, 100);
}

}  // namespace
}  // namespace quorvane::platform::memory

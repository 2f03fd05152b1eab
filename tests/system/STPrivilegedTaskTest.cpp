#include <gtest/gtest.h>

#include <thread>

#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "simmac/SimPrivilegedRunner.hpp"
#include "support/TemporaryDirectory.hpp"
#include "system/STPrivilegedTask.hpp"

namespace quorvane::system {
namespace {

using namespace std::chrono_literals;

struct STPrivilegedTaskTest : ::testing::Test {
    testing::TemporaryDirectory temporary;
    platform::sim::SimHome home{temporary.path()};
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::sim::SimPrivilegedRunner runner{home, journal};
};

TEST_F(STPrivilegedTaskTest, reportsTheEndThroughTheMainQueueNotificationAndHandler) {
    STPrivilegedTask task(runner, queue, log, "/bin/sh", {"-c", "echo out; exit 3"});
    int handled = 0, announced = 0;
    task.terminationHandler = [&](STPrivilegedTask& ended) { handled = ended.terminationStatus; };
    auto watch = task.didTerminate.subscribe([&] { ++announced; });

    ASSERT_EQ(task.launch(), 0);
    EXPECT_TRUE(task.isRunning);
    EXPECT_EQ(task.launch(), 0);  // already running: nothing new starts
    EXPECT_TRUE(log.contains("Task already running: /bin/sh -c echo out; exit 3"));

    // No timer: the end is posted when it comes.
    EXPECT_EQ(queue.pendingTimers(), 0u);
    for (int i = 0; i < 400 && task.isRunning; ++i) {
        std::this_thread::sleep_for(5ms);
        queue.drain();
    }
    EXPECT_FALSE(task.isRunning);
    EXPECT_EQ(task.terminationStatus, 3);
    EXPECT_EQ(handled, 3);
    EXPECT_EQ(announced, 1);
    char output[16] = {};
    EXPECT_EQ(::read(task.outputDescriptor, output, sizeof output - 1), 4);
    EXPECT_STREQ(output, "out\n");
    EXPECT_EQ(journal.lines().front(), "SimulatedMac admin prompt approved for /bin/sh");
}

TEST_F(STPrivilegedTaskTest, aCancelledPromptStartsNothing) {
    ASSERT_TRUE(home.setAdminPromptApproves(false));
    STPrivilegedTask task(runner, queue, log, "/bin/true");
    EXPECT_EQ(task.launch(), platform::PrivilegedRunner::canceled);
    EXPECT_FALSE(task.isRunning);

    ASSERT_TRUE(home.setAdminPromptApproves(true));
    auto waited = STPrivilegedTask::launched(runner, queue, log, "/bin/sh", {"-c", "exit 7"});
    EXPECT_FALSE(waited->isRunning);
    EXPECT_EQ(waited->terminationStatus, 7);
    EXPECT_EQ(queue.pendingTimers(), 0u);

    // Killed by a signal: never 0, which would read as success.
    auto killed = STPrivilegedTask::launched(runner, queue, log, "/bin/sh", {"-c", "kill -9 $$"});
    EXPECT_EQ(killed->terminationStatus, 128 + 9);
}

}  // namespace
}  // namespace quorvane::system

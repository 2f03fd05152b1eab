#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <thread>

#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "simmac/SimPower.hpp"
#include "simmac/SimPrivilegedRunner.hpp"
#include "support/TemporaryDirectory.hpp"
#include "system/STPrivilegedTask.hpp"

namespace quorvane::system {
namespace {

using namespace std::chrono_literals;

struct STPrivilegedTaskTest : ::testing::Test {
    testing::TemporaryDirectory temporary;
    platform::sim::SimHome home{temporary.path() / "sim", QUORVANE_DEFAULTS_TOOL,
                                QUORVANE_SIM_TOOLS};
    platform::sim::SimPower power{temporary.path() / "sim"};
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::sim::SimPrivilegedRunner runner{home, journal};

    void SetUp() override { ASSERT_TRUE(home.prepare()); }
    void TearDown() override {
        for (const auto& pending : power.shutdowns())
            ::kill(pending.pid, SIGTERM);
    }
    std::string tool(const char* name) const { return (home.binDirectory() / name).string(); }
};

// What a pending shutdown holds of the process that started it: its
// session, and every open descriptor with what it points at.
std::vector<std::string> descriptorsOf(int pid) {
    std::vector<std::string> held;
    const auto folder = std::filesystem::path("/proc") / std::to_string(pid) / "fd";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        held.push_back(entry.path().filename().string() + " " +
                       std::filesystem::read_symlink(entry.path()).string());
    std::ranges::sort(held);
    return held;
}

TEST_F(STPrivilegedTaskTest, aToolOutlivesItsCallerHoldingNothingAndItsEndIsReported) {
    STPrivilegedTask task(runner, queue, log, tool("shutdown"), {"-h", "+5"});
    int handled = 0, announced = 0;
    task.terminationHandler = [&](STPrivilegedTask& ended) { handled = ended.terminationStatus; };
    auto watch = task.didTerminate.subscribe([&] { ++announced; });

    ASSERT_EQ(task.launch(), 0);
    EXPECT_TRUE(task.isRunning);
    EXPECT_EQ(task.launch(), 0);  // already running: nothing new starts
    EXPECT_TRUE(log.contains("Task already running: " + tool("shutdown") + " -h +5"));
    for (int i = 0; i < 400 && power.shutdowns().empty(); ++i)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(power.shutdowns().size(), 1u);

    // Its own session; its output and errors go nowhere, so neither a
    // reader that went away (SIGPIPE) nor one waiting for the end of our
    // output (a pipe into `cat`) is tied to it; none of our descriptors.
    const int pid = task.processIdentifier;
    EXPECT_EQ(::getsid(pid), pid);
    EXPECT_EQ(task.outputDescriptor, -1);
    const std::vector<std::string> nothingOfOurs{"0 /dev/null", "1 /dev/null", "2 /dev/null"};
    for (int i = 0; i < 400 && descriptorsOf(pid) != nothingOfOurs; ++i)
        std::this_thread::sleep_for(5ms);  // it may still be writing its record
    EXPECT_EQ(descriptorsOf(pid), nothingOfOurs);

    // No timer: the end is posted when it comes. Killed by a signal: never
    // 0, which would read as success, but 128 plus the signal.
    EXPECT_EQ(queue.pendingTimers(), 0u);
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 400 && task.isRunning; ++i) {
        std::this_thread::sleep_for(5ms);
        queue.drain();
    }
    EXPECT_FALSE(task.isRunning);
    EXPECT_EQ(task.terminationStatus, 128 + SIGTERM);
    EXPECT_EQ(handled, 128 + SIGTERM);
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(journal.lines().front(),
              "SimulatedMac admin prompt approved for " + tool("shutdown"));
}

TEST_F(STPrivilegedTaskTest, onlyTheSimulatedMacsToolsRunAndACancelledPromptStartsNothing) {
    ASSERT_TRUE(home.setAdminPromptApproves(false));
    STPrivilegedTask cancelled(runner, queue, log, tool("pmset"));
    EXPECT_EQ(cancelled.launch(), platform::PrivilegedRunner::canceled);
    EXPECT_FALSE(cancelled.isRunning);

    ASSERT_TRUE(home.setAdminPromptApproves(true));
    auto waited = STPrivilegedTask::launched(runner, queue, log, tool("pmset"));  // its usage
    EXPECT_FALSE(waited->isRunning);
    EXPECT_EQ(waited->terminationStatus, 1);
    EXPECT_EQ(queue.pendingTimers(), 0u);

    // A shell would run anything; the host's own tools are real.
    const auto outside = temporary.path() / "sim" / "bin" / ".." / "bin" / "pmset";
    for (const std::string& path : {std::string("/bin/sh"), std::string("/bin/true"),
                                   std::string("/sbin/shutdown"), outside.string()}) {
        auto refused = STPrivilegedTask::launched(runner, queue, log, path, {"-c", "exit 0"});
        EXPECT_FALSE(refused->isRunning) << path;
        EXPECT_EQ(runner.execute(path, {}, "/").status, platform::PrivilegedRunner::toolFailed)
            << path;
    }
    // Nor anything else put in its folder.
    const auto planted = home.binDirectory() / "planted";
    std::filesystem::copy_file("/bin/true", planted);
    EXPECT_EQ(runner.execute(planted.string(), {}, "/").status,
              platform::PrivilegedRunner::toolFailed);
    int refusals = 0;
    for (const auto& line : journal.lines())
        refusals += line.find("command as administrator refused") != std::string::npos;
    EXPECT_EQ(refusals, 9);
}

}  // namespace
}  // namespace quorvane::system

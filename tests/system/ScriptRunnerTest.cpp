#include <gtest/gtest.h>

#include <mutex>

#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "simmac/SimDesktop.hpp"
#include "system/ScriptRunner.hpp"

namespace quorvane::system {
namespace {

// An engine that answers every source with the same outcome and keeps the sources.
struct FakeScripting final : platform::Scripting {
    platform::ScriptOutcome execute(const std::string& source) override {
        std::lock_guard lock(mutex);
        sources.push_back(source);
        return answer;
    }
    std::mutex mutex;
    std::vector<std::string> sources;
    platform::ScriptOutcome answer;
};

struct ScriptRunnerTest : ::testing::Test {
    FakeScripting scripting;
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::sim::SimPermissionAsker permissions{journal};
    ScriptRunner runner{scripting, permissions, queue, journal, log, "/nonexistent"};

    // Waits for the runner to finish everything submitted so far.
    void settle() { runner.runAppleScript("", "test").get(); }
};

TEST_F(ScriptRunnerTest, buildsTheExactSources) {
    runner.restartApp("Dock", false, "AutoHideDockTask");
    runner.restartApp("Dock", true, "AutoHideDockTask");
    runner.typeInTerminal("echo \"hi\"", "ScriptTask");
    settle();
    ASSERT_GE(scripting.sources.size(), 3u);
    EXPECT_EQ(scripting.sources[0], "do shell script \"killall Dock\"");
    EXPECT_EQ(scripting.sources[1],
              "do shell script \"killall Dock\"with administrator privileges");
    EXPECT_EQ(scripting.sources[2],
              "tell application \"Terminal\"\n"
              "    activate\n"
              "    if (count of windows) is 0 then\n"
              "        do script \"\"\n"
              "    end if\n"
              "end tell\n"
              "tell application \"System Events\"\n"
              "    tell process \"Terminal\"\n"
              "        keystroke \"echo \\\"hi\\\"\"\n"
              "    end tell\n"
              "end tell");
    // The fake engine answers nothing, which is no success.
    EXPECT_EQ(journal.lines()[0], "AutoHideDockTask restart Dock not restarted: Cancelled");
    EXPECT_EQ(shellScriptSource("pmset -g", true),
              "do shell script \"pmset -g\"with administrator privileges");
}

TEST_F(ScriptRunnerTest, mapsOutcomesToResultsAndErrors) {
    EXPECT_EQ(runner.runAppleScript("beep", "t").get().output, "");
    auto nothing = runner.runScript("beep", false, false, "t").get();
    ASSERT_FALSE(nothing.ok());
    EXPECT_EQ(nothing.error->message(), "Cancelled");

    scripting.answer.errorInfo["NSAppleScriptErrorMessage"] =
        std::string("Quorvane is not allowed assistive access.");
    auto refused =
        runner.runAppleScript("tell application \"System Events\" to keystroke \"a\"", "t").get();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error->kind(), ScriptError::Kind::appleScript);
    runner.handleScriptError(*refused.error);
    EXPECT_TRUE(permissions.asked.empty());  // asked on the main queue, not here
    queue.drain();
    EXPECT_EQ(permissions.asked,
              std::vector<platform::Permission>{platform::Permission::accessibility});

    scripting.answer = {};
    scripting.answer.created = false;
    EXPECT_EQ(runner.runScript("x", true, false, "t").get().error->message(),
              "Failed to construct script request");
}

TEST(ScriptError, messagesForTheUser) {
    platform::ScriptErrorInfo osa{{"OSAScriptErrorMessageKey", std::string("Syntax error")}};
    EXPECT_EQ(ScriptError::appleScript(osa).message(), "Syntax error");
    EXPECT_EQ(
        ScriptError::appleScript({{"NSAppleScriptErrorNumber", std::int64_t{-128}}}).message(),
        "Failed to execute this script");
    EXPECT_EQ(ScriptError::commandLine("no such file").message(), "no such file");
    EXPECT_EQ(ScriptError::unknown().message(), "Can not execute this script");
}

}  // namespace
}  // namespace quorvane::system

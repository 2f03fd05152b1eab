#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "platform/Quoting.hpp"
#include "adapters/posix/PosixShellRunner.hpp"

namespace quorvane::platform::posix {
namespace {

TEST(PosixShellRunner, followsTheExitStatusRule) {
    PosixShellRunner shell;
    auto quiet = shell.run("exit 1");
    ASSERT_TRUE(quiet);
    EXPECT_EQ(quiet.value(), "");

    auto missing = shell.run("ls /nonexistent");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().message.find("/nonexistent"), std::string::npos);

    // Output goes back minus exactly one line feed, even when the command failed quietly.
    EXPECT_EQ(shell.run("printf 'a\\n\\n'; exit 3").value(), "a\n");
    EXPECT_EQ(shell.run("printf '\\377\\376'").value(), "");  // not UTF-8: empty
    EXPECT_EQ(shell.run("echo warning >&2; echo done").value(), "done");
}

TEST(PosixShellRunner, drainsBothStreamsSoLargeOutputNeverBlocks) {
    PosixShellRunner shell;
    auto big = shell.run(
        "head -c 4194304 /dev/zero | tr '\\0' a; head -c 4194304 /dev/zero | tr '\\0' b >&2");
    ASSERT_TRUE(big);
    EXPECT_EQ(big.value().size(), 4194304u);
    auto failed = shell.run(
        "head -c 4194304 /dev/zero | tr '\\0' a; head -c 4194304 /dev/zero | tr '\\0' b >&2; exit "
        "2");
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message.size(), 4194304u);
}

TEST(PosixShellRunner, quotedDataReachesTheCommandAsOneLiteralArgument) {
    PosixShellRunner shell(std::map<std::string, std::string>{{"HOME", "/tmp/sim-home"}});
    EXPECT_EQ(shell.run("echo ~").value(), "/tmp/sim-home");
    for (std::string hostile :
         {"it's \"quoted\"", "back\\slash", "$(touch /tmp/pwned)", "`id`", "two\nlines", "-rf",
          "semi; colon && amp", "*", "", "trailing space "}) {
        auto echoed = shell.run("printf '%s' " + shellQuote(hostile));
        ASSERT_TRUE(echoed) << hostile;
        EXPECT_EQ(echoed.value(), hostile);
        EXPECT_EQ(shell.run("set -- " + shellQuote(hostile) + "; echo $#").value(), "1");
    }
    EXPECT_EQ(shellQuote("com.apple.dock"), "com.apple.dock");
    EXPECT_EQ(shellQuote("/Users/ada/My File"), "'/Users/ada/My File'");
}

}  // namespace
}  // namespace quorvane::platform::posix

namespace quorvane::platform::posix {
namespace {

// Quitting must not wait on a user's server script, nor leave its children.
TEST(PosixShellRunner, terminatingEndsRunningCommandsAndWhatTheyStarted) {
    PosixShellRunner shell;
    std::optional<Result<std::string>> outcome;
    // The background child holds the output pipe too: run() returns only
    // once it is gone as well.
    std::thread server([&] { outcome = shell.run("(sleep 30) & sleep 30; echo never"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto asked = std::chrono::steady_clock::now();
    shell.terminateRunning();
    server.join();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(2));
    ASSERT_TRUE(outcome);
    EXPECT_NE(outcome->ok() ? outcome->value() : std::string(), "never");
    shell.terminateRunning();  // nothing running: nothing to do
    EXPECT_TRUE(shell.run("echo still works").value() == "still works");
}

}  // namespace
}  // namespace quorvane::platform::posix

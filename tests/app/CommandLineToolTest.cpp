#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/memory/MemoryLog.hpp"
#include "platform/posix/FileJournal.hpp"
#include "platform/sim/SimHome.hpp"
#include "support/ChildProcess.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane {
namespace {

using namespace std::chrono_literals;

struct CommandLineToolTest : ::testing::Test {
    testing::TemporaryDirectory home;
    std::map<std::string, std::string> environment() const {
        return {{"HOME", home.path().string()},
                {"XDG_DATA_HOME", (home.path() / "data").string()},
                {"XDG_CONFIG_HOME", (home.path() / "config").string()},
                {"XDG_STATE_HOME", (home.path() / "state").string()},
                {"QUORVANE_SIM_HOME", (home.path() / "sim").string()}};
    }
    std::vector<std::string> run(const std::vector<std::string>& arguments,
                                 int expectedStatus = 0) {
        testing::ChildProcess quorvane(QUORVANE_BINARY, arguments, environment());
        std::vector<std::string> lines;
        while (auto line = quorvane.readLine(30s))
            lines.push_back(*line);
        EXPECT_EQ(quorvane.wait(), expectedStatus);
        return lines;
    }
};

TEST_F(CommandLineToolTest, journalPrintsWhatTheProgramDidOldestFirst) {
    platform::memory::MemoryLog log;
    platform::posix::FileJournal journal(home.path() / "state/com.tarnvell.Quorvane/journal.jsonl",
                                         log);
    journal.record("EmptyTrashTask", "script",
                   "tell application \"Finder\"\n    empty trash\nend tell");
    journal.record("ClearClipboardTask", "pasteboard", "cleared");

    auto lines = run({"journal"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with(
        "  EmptyTrashTask  script  tell application \"Finder\"\\n    empty trash\\nend tell"));
    EXPECT_TRUE(lines[1].ends_with("  ClearClipboardTask  pasteboard  cleared"));

    auto json = run({"journal", "--json"});
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(nlohmann::json::parse(json[1])["kind"], "pasteboard");
}

TEST_F(CommandLineToolTest, simAdminSetsHowTheSimulatedMacAnswers) {
    platform::sim::SimHome sim(home.path() / "sim");
    EXPECT_TRUE(sim.adminPromptApproves());
    run({"sim", "admin", "cancel"});
    EXPECT_FALSE(sim.adminPromptApproves());
    run({"sim", "admin", "approve"});
    EXPECT_TRUE(sim.adminPromptApproves());
    run({"sim", "admin", "maybe"}, 2);
}

}  // namespace
}  // namespace quorvane

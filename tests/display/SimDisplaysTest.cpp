#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "adapters/memory/MemoryJournal.hpp"
#include "simmac/SimDisplays.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::sim {
namespace {

// A pid that has certainly ended: a child that exited and was reaped.
int endedPid() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(SimDisplays, theArrangementIsKeptAndADeadProcessesTablesComeBack) {
    quorvane::testing::TemporaryDirectory folder;
    memory::MemoryJournal journal;
    const auto file = folder.path() / "displays.json";
    const int gone = endedPid();
    {
        SimDisplays first{journal, file, gone};
        ASSERT_TRUE(first.add("Studio", {2560, 1440}, 4));
        ASSERT_TRUE(first.move("2", {-560, -1440}));
        ASSERT_TRUE(first.setTransferTable("1", TransferTable{}));  // all black
    }
    SimDisplays second{journal, file, static_cast<int>(::getpid())};
    ASSERT_EQ(second.screenList().size(), 2u);
    EXPECT_EQ(flipped(second.screenList()[1].frame, second.screenList()).origin,
              (Point{-560, -1440}));
    EXPECT_EQ(second.displays()[1].edrPotential, 4);
    EXPECT_EQ(second.currentTable("1"), TransferTable::identity());
    EXPECT_EQ(journal.entries().back().kind, "colour settings");

    // Ours, while we live, stays.
    ASSERT_TRUE(second.setTransferTable("1", TransferTable{}));
    SimDisplays third{journal, file, static_cast<int>(::getpid())};
    EXPECT_EQ(third.currentTable("1"), TransferTable{});
}

// A file another program (or a full disk) mangled leaves the built-in
// display, never a half-read list.
TEST(SimDisplays, aMangledFileLeavesTheBuiltInDisplay) {
    quorvane::testing::TemporaryDirectory folder;
    memory::MemoryJournal journal;
    const auto file = folder.path() / "displays.json";
    for (const std::string& bytes :
         {std::string("{not json"), std::string(R"({"displays":[{"id":"1"}]})"),
          std::string(R"({"displays":[{"id":"1","name":"A","frame":[0,0,-5,900]}]})"),
          std::string(R"({"displays":[]})"), std::string(2 << 20, ' ')}) {
        std::ofstream(file, std::ios::trunc) << bytes;
        SimDisplays displays{journal, file, static_cast<int>(::getpid())};
        ASSERT_EQ(displays.screenList().size(), 1u) << bytes.substr(0, 40);
        EXPECT_EQ(displays.screenList()[0].name, "Built-in Display");
    }
}

TEST(SimDisplays, commandsRefuseWhatNoDisplayCouldBe) {
    memory::MemoryJournal journal;
    SimDisplays displays{journal};
    EXPECT_FALSE(displays.remove("1"));  // the main display
    EXPECT_FALSE(displays.remove("9"));
    EXPECT_FALSE(displays.set("1", "edr", 17));  // more than the panel has
    EXPECT_FALSE(displays.set("1", "edr", 0.5));
    EXPECT_FALSE(displays.set("1", "brightness", 2));
    EXPECT_FALSE(displays.move("1", {1e9, 0}));
    EXPECT_FALSE(displays.transferTable("7"));
    auto configuration = displays.begin().value();
    configuration->setMirror("1", "1");  // itself
    EXPECT_FALSE(configuration->complete(true));
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(displays.add("More", {800, 600}, 1));
    EXPECT_FALSE(displays.add("One too many", {800, 600}, 1));
}

}  // namespace
}  // namespace quorvane::platform::sim

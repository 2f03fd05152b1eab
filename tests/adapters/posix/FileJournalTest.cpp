#include <gtest/gtest.h>

#include <fstream>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileJournal.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

TEST(FileJournal, keepsEntriesOldestFirstWithinItsBound) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog log;
    const auto file = temporary.path() / "state/journal.jsonl";
    FileJournal journal(file, log, 2000);
    for (int i = 0; i < 100; ++i)
        journal.record("EmptyTrashTask", "script", "run " + std::to_string(i));
    journal.record("ClearClipboardTask", "pasteboard", "line\nbreak\t\"quoted\"");

    auto entries = journal.entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_LT(entries.size(), 60u);  // older entries were dropped with the rotation
    EXPECT_EQ(entries.back().detail, "line\nbreak\t\"quoted\"");
    EXPECT_EQ(entries.back().cause, "ClearClipboardTask");
    for (std::size_t i = 1; i + 1 < entries.size(); ++i)
        EXPECT_LT(std::stoi(entries[i - 1].detail.substr(4)),
                  std::stoi(entries[i].detail.substr(4)));
    EXPECT_LE(std::filesystem::file_size(file), 2000u + 200u);

    // A torn last line (a crash mid-write) is skipped, not fatal.
    std::ofstream(file, std::ios::app) << "{\"time\":\"2026";
    EXPECT_EQ(FileJournal(file, log, 2000).entries().size(), entries.size());
    EXPECT_EQ(journalDetail(std::string(600, 'x')).size(), Journal::maxDetailBytes + 3);
}

}  // namespace
}  // namespace quorvane::platform::posix

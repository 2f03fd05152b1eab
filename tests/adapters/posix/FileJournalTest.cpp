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
    FileJournal after(file, log, 2000);
    EXPECT_EQ(after.entries().size(), entries.size());
    // and the next entry starts a line of its own instead of being lost with it.
    after.record("EmptyTrashTask", "script", "after the crash");
    EXPECT_EQ(after.entries().size(), entries.size() + 1);
    EXPECT_EQ(after.entries().back().detail, "after the crash");
    EXPECT_EQ(journalDetail(std::string(600, 'x')).size(), Journal::maxDetailBytes + 3);
}

// Every entry is kept with its weight, and a line written before entries
// had one still reads, as a change. Read for people, the input stays out
// unless asked for and a run of repeats is one line with its count.
TEST(FileJournal, keepsEachWeightReadsOlderLinesAndFoldsOnlyWhenRead) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog log;
    const auto file = temporary.path() / "journal.jsonl";
    std::ofstream(file) << R"({"cause":"AutoHideDockTask","detail":"Dock restarted",)"
                        << R"("kind":"restart","time":"2026-01-01T00:00:00.000Z"})" << "\n";
    FileJournal journal(file, log);
    for (int i = 0; i < 2; ++i) {
        journal.recordInput("MouseJigglerTask", "input", "posted 4 events");
        journal.record("HideOtherWindowsTask", "application", "hid Finder");
    }
    const auto entries = FileJournal(file, log).entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].detail, "Dock restarted");
    EXPECT_EQ(entries[0].weight, JournalWeight::change);
    EXPECT_EQ(entries[1].weight, JournalWeight::input);
    EXPECT_EQ(entries[2].weight, JournalWeight::change);

    const auto changes = readableJournal(entries, false);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].entry.detail, "hid Finder");
    EXPECT_EQ(changes[1].count, 2u);
    EXPECT_EQ(changes[1].entry.time, entries[4].time);
    EXPECT_EQ(readableJournal(entries, true).size(), 5u);
}

}  // namespace
}  // namespace quorvane::platform::posix

#include "support/NotAFile.hpp"

namespace quorvane::platform::posix {
namespace {

// A FIFO, a folder or a runaway file where the journal should be never holds
// the program up: the first entry sets it aside, with a log line, and starts
// a new journal; what was there is kept as it was.
TEST(FileJournal, whatIsNotAJournalInItsPlaceIsSetAsideAndANewOneStarts) {
    using testing::NotAFile;
    for (const auto kind : {NotAFile::fifo, NotAFile::folder, NotAFile::runaway}) {
        testing::TemporaryDirectory temporary;
        memory::MemoryLog log;
        const auto file = temporary.path() / "state/journal.jsonl";
        ASSERT_TRUE(testing::putInPlace(kind, file)) << nameOf(kind);
        FileJournal journal(file, log);
        testing::FifoRescue rescue(file);
        journal.record("SimulatedMac", "admin prompt", "approved");
        rescue.done();
        EXPECT_FALSE(rescue.rescued()) << nameOf(kind) << ": the write waited on it";

        const auto entries = journal.entries();
        ASSERT_EQ(entries.size(), 1u) << nameOf(kind);
        EXPECT_EQ(entries[0].detail, "approved");
        EXPECT_TRUE(log.contains("kept it as " + file.string() + ".undecodable-")) << nameOf(kind);
        std::vector<std::filesystem::path> aside;
        for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
            if (entry.path() != file)
                aside.push_back(entry.path());
        ASSERT_EQ(aside.size(), 1u) << nameOf(kind);
        EXPECT_EQ(std::filesystem::symlink_status(aside[0]).type(),
                  kind == NotAFile::fifo     ? std::filesystem::file_type::fifo
                  : kind == NotAFile::folder ? std::filesystem::file_type::directory
                                             : std::filesystem::file_type::regular);
    }
}

}  // namespace
}  // namespace quorvane::platform::posix

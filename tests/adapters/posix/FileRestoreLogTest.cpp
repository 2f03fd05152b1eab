#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileRestoreLog.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

namespace fs = std::filesystem;

RestoreEntry change(std::string cause, std::string target, std::optional<std::string> before,
                    std::optional<std::string> after) {
    RestoreEntry entry;
    entry.cause = std::move(cause);
    entry.kind = "preference";
    entry.target = std::move(target);
    entry.before = std::move(before);
    entry.after = std::move(after);
    return entry;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A second change to one target by one tweak keeps the first `before`; one
// that writes that `before` back leaves nothing to put back. What is kept
// reads back whole from another object, absent values and notes included,
// and an id is never given twice.
TEST(FileRestoreLog, foldsChangesToOneTargetDropsUndoneOnesAndReadsBackWhole) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog messages;
    const auto file = temporary.path() / "state/restore.json";
    FileRestoreLog log(file, messages);

    const auto first = log.record(change("AutoHideDockTask", "com.apple.dock autohide", "0", "1"));
    ASSERT_TRUE(first) << first.error().message;
    EXPECT_EQ(log.record(change("AutoHideDockTask", "com.apple.dock autohide", "1", "2")).value(),
              first.value());
    const auto other =
        log.record(change("ShowHiddenFilesTask", "com.apple.dock autohide", "2", "3"));
    auto hidden = change("ShowHiddenFilesTask", "com.apple.finder AppleShowAllFiles", std::nullopt,
                         "YES\nNO");
    hidden.restorable = false;
    hidden.note = "the Finder was restarted";
    ASSERT_TRUE(log.record(hidden));
    // A deletion repeated stays told: it is never an undoing.
    auto emptied = change("EmptyTrashTask", "~/.Trash", std::nullopt, std::nullopt);
    emptied.restorable = false;
    const auto trash = log.record(emptied);
    ASSERT_TRUE(log.record(emptied));
    EXPECT_EQ(log.entries().size(), 4u);
    ASSERT_TRUE(log.remove({trash.value()}));

    auto entries = log.entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, first.value());
    EXPECT_EQ(entries[0].before, "0");
    EXPECT_EQ(entries[0].after, "2");
    EXPECT_EQ(entries[1].id, other.value());
    EXPECT_FALSE(entries[0].time.empty());
    EXPECT_EQ(FileRestoreLog(file, messages).entries(), entries);
    EXPECT_EQ(entries[2].before, std::nullopt);
    EXPECT_EQ(entries[2].note, "the Finder was restarted");

    // Written back as it was: nothing left to put back for this tweak.
    ASSERT_TRUE(log.record(change("AutoHideDockTask", "com.apple.dock autohide", "2", "0")));
    entries = FileRestoreLog(file, messages).entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, other.value());

    ASSERT_TRUE(log.remove({entries[0].id, entries[1].id}));
    EXPECT_TRUE(log.entries().empty());
    EXPECT_GT(log.record(change("AutoHideDockTask", "com.apple.dock autohide", "0", "1")).value(),
              entries[1].id);
    EXPECT_EQ(namesIn(file.parent_path()),
              (std::set<std::string>{"restore.json", "restore.json.lock"}));  // no temporary left
    EXPECT_TRUE(messages.lines.empty());
}

// Two logs on one file, as two processes have, each rewriting it whole:
// the lock keeps either from writing over what the other just added.
TEST(FileRestoreLog, twoLogsOnOneFileLoseNoEntry) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog messages;
    const auto file = temporary.path() / "restore.json";
    FileRestoreLog first(file, messages);
    FileRestoreLog second(file, messages);
    constexpr int perLog = 40;
    auto writeMany = [](FileRestoreLog& log, const std::string& cause) {
        for (int i = 0; i < perLog; ++i)
            ASSERT_TRUE(log.record(change(cause, "key " + std::to_string(i), "0", "1")));
    };
    std::thread one(writeMany, std::ref(first), "AutoHideDockTask");
    std::thread two(writeMany, std::ref(second), "ShowHiddenFilesTask");
    one.join();
    two.join();

    std::set<std::uint64_t> ids;
    for (const auto& entry : first.entries())
        ids.insert(entry.id);
    EXPECT_EQ(ids.size(), 2u * perLog);
}

// A file that is not a restore log is kept aside for a person to read and
// a new log starts with the change being recorded.
TEST(FileRestoreLog, aDamagedFileIsSetAsideAndTheNextChangeIsKept) {
    for (const std::string& damaged :
         {std::string("{\"nextId\": 3, \"entries\": [{\"id\": 1"),
          std::string(R"({"nextId": 3, "entries": [{"id": -1, "time": "", "cause": "",)"
                      R"( "kind": "", "target": ""}]})"),
          std::string(R"({"nextId": 3, "entries": {}})"),
          // Two entries with one number, and a number the next one would get.
          std::string(R"({"nextId": 3, "entries": [{"id": 1, "time": "", "cause": "", "kind": "",)"
                      R"( "target": ""}, {"id": 1, "time": "", "cause": "", "kind": "", "target": ""}]})"),
          std::string(R"({"nextId": 2, "entries": [{"id": 7, "time": "", "cause": "", "kind": "",)"
                      R"( "target": ""}]})")}) {
        testing::TemporaryDirectory temporary;
        memory::MemoryLog messages;
        const auto file = temporary.path() / "restore.json";
        std::ofstream(file) << damaged;
        FileRestoreLog log(file, messages);

        ASSERT_TRUE(log.record(change("AutoHideDockTask", "com.apple.dock autohide", "0", "1")))
            << damaged;
        const auto entries = FileRestoreLog(file, messages).entries();
        ASSERT_EQ(entries.size(), 1u) << damaged;
        EXPECT_EQ(entries[0].after, "1");
        EXPECT_TRUE(messages.contains("kept it as " + file.string() + ".undecodable-")) << damaged;
        std::string aside;
        for (const auto& name : namesIn(temporary.path()))
            if (name.starts_with("restore.json.undecodable-"))
                aside = name;
        ASSERT_FALSE(aside.empty()) << damaged;
        std::stringstream kept;
        kept << std::ifstream(temporary.path() / aside).rdbuf();
        EXPECT_EQ(kept.str(), damaged);
    }
}

// Past its bound the log gives up the oldest entry that cannot be put back,
// then the oldest of all, never the one being recorded. A value reads as
// one short line, cut between characters.
TEST(RestoreLog, staysWithinItsBoundAndShowsValuesOnOneLine) {
    std::vector<RestoreEntry> entries;
    std::uint64_t nextId = 1;
    for (std::size_t i = 0; i < RestoreLog::maxEntries; ++i) {
        auto entry = change("AutoHideDockTask", "key " + std::to_string(i), "0", "1");
        entry.restorable = i != 5;
        recordInto(entries, std::move(entry), nextId);
    }
    auto newest = change("AutoHideDockTask", "newest", "0", "1");
    newest.restorable = false;
    EXPECT_EQ(recordInto(entries, newest, nextId).dropped, 1u);
    EXPECT_EQ(entries.size(), RestoreLog::maxEntries);
    EXPECT_EQ(entries[5].target, "key 6");
    EXPECT_EQ(entries.back().target, "newest");
    recordInto(entries, change("AutoHideDockTask", "newer", "0", "1"), nextId);
    EXPECT_EQ(entries[entries.size() - 2].target, "key 4095");  // "newest" went
    recordInto(entries, newest, nextId);
    EXPECT_EQ(entries.front().target, "key 1");
    EXPECT_EQ(entries.back().id, RestoreLog::maxEntries + 3);

    EXPECT_EQ(restoreValueText(std::nullopt), "absent");
    EXPECT_EQ(restoreValueText("a\r\nb\nc"), "a b c");
    const auto cut = restoreValueText(std::string(79, 'x') + "ééé");
    EXPECT_EQ(cut, std::string(79, 'x') + "é…");
}

}  // namespace
}  // namespace quorvane::platform::posix

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "adapters/memory/MemoryJournal.hpp"
#include "cli/CommandLine.hpp"
#include "cli/JournalCommand.hpp"

namespace quorvane::cli {
namespace {

TEST(JournalCommand, takesAllAndJsonOnceEachInAnyOrder) {
    const auto both = parseCommandLine({"journal", "--json", "--all"});
    ASSERT_TRUE(both);
    EXPECT_EQ(both.value().action, CommandLine::Action::journal);
    EXPECT_TRUE(both.value().json);
    EXPECT_TRUE(both.value().allEntries);
    EXPECT_FALSE(parseCommandLine({"journal"}).value().allEntries);
    EXPECT_FALSE(parseCommandLine({"journal", "--all", "--all"}));
    EXPECT_FALSE(parseCommandLine({"journal", "--every"}));
}

// A session's worth: the notch banner's monitor on every click, the
// jiggler's posts every second, and the same hide twice in between.
struct Session {
    platform::memory::MemoryJournal journal;
    Session() {
        journal.record("AutoHideDockTask", "restart", "Dock restarted");
        for (int i = 0; i < 3; ++i) {
            journal.recordInput("NotchBanner", "input",
                                "input monitoring started: left mouse down");
            journal.recordInput("MouseJigglerTask", "input", "posted 4 events");
        }
        journal.record("ShowDesktopTask", "window", "minimized window \"Notes\"");
        journal.recordInput("MouseJigglerTask", "input", "posted 4 events");
        journal.record("ShowDesktopTask", "window", "minimized window \"Notes\"");
    }
    std::vector<std::string> print(JournalOptions options) const {
        std::ostringstream out;
        printJournal(journal, options, out);
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(line.find("  ") + 2));  // past the time
        return lines;
    }
};

TEST(JournalCommand, showsTheChangesWithRepeatsFoldedAndTheInputOnlyWhenAsked) {
    const Session session;
    EXPECT_EQ(session.print({}),
              (std::vector<std::string>{
                  "AutoHideDockTask  restart  Dock restarted",
                  "ShowDesktopTask  window  minimized window \"Notes\"  ×2"}));
    const auto all = session.print({.withInput = true});
    ASSERT_EQ(all.size(), 10u);  // alternating: nothing folds
    EXPECT_EQ(all[1], "NotchBanner  input  input monitoring started: left mouse down");

    // As JSON, the same lines, each with its weight and count; a folded run
    // carries its latest time.
    std::ostringstream out;
    printJournal(session.journal, {.json = true, .withInput = false}, out);
    std::vector<nlohmann::json> objects;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);)
        objects.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[1]["count"], 2);
    EXPECT_EQ(objects[1]["weight"], "change");
    EXPECT_EQ(objects[1]["time"], session.journal.entries().back().time);
}

}  // namespace
}  // namespace quorvane::cli

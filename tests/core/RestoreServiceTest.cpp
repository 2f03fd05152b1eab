#include <gtest/gtest.h>

#include <map>

#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryRestoreLog.hpp"
#include "core/restore/ChangeRecorder.hpp"
#include "core/restore/RestoreService.hpp"

namespace quorvane::core {
namespace {

using platform::RestoreEntry;
using Outcome = RestoreStep::Result;

// Preferences as a map from target to value; a missing target is absent.
class FakePreferences final : public RestoreKind {
  public:
    platform::Result<std::optional<std::string>> read(const std::string& target) override {
        const auto found = values.find(target);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    platform::Status write(const std::string& target,
                           const std::optional<std::string>& value) override {
        if (target == readOnly)
            return platform::Error{"the domain is read-only"};
        ++writes;
        if (value)
            values[target] = *value;
        else
            values.erase(target);
        return platform::success();
    }

    std::map<std::string, std::string> values;
    std::string readOnly;
    int writes = 0;
};

struct RestoreServiceTest : ::testing::Test {
    platform::memory::MemoryRestoreLog log;
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog diagnostics;
    FakePreferences preferences;
    RestoreService service{log, journal, diagnostics};

    RestoreServiceTest() { service.addKind("preference", preferences); }

    // What a tweak does: writes the value and records what it replaced.
    std::uint64_t change(const std::string& cause, const std::string& target,
                         std::optional<std::string> after) {
        RestoreEntry entry;
        entry.cause = cause;
        entry.kind = "preference";
        entry.target = target;
        entry.before = preferences.read(target).value();
        entry.after = after;
        if (after)
            preferences.values[target] = *after;
        else
            preferences.values.erase(target);
        return log.record(entry).value();
    }
};

constexpr const char* autohide = "com.apple.dock autohide";
constexpr const char* showAll = "com.apple.finder AppleShowAllFiles";

TEST_F(RestoreServiceTest, putsBackJournalsAndKeepsWhatItReplacedToPutBackInTurn) {
    preferences.values[autohide] = "0";
    const auto dock = change("AutoHideDockTask", autohide, "1");
    change("ShowHiddenFilesTask", showAll, "YES");

    RestoreSelection byCause;
    byCause.cause = "AutoHideDockTask";
    auto steps = service.restore(byCause);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(restoreStepLine(steps[0]), "restored  #" + std::to_string(dock) +
                                             "  AutoHideDockTask  preference  " + autohide +
                                             "  1 → 0");
    EXPECT_EQ(preferences.values[autohide], "0");
    EXPECT_EQ(journal.lines(),
              std::vector<std::string>{"Restore preference put back " + std::string(autohide) +
                                       ": 1 → 0 (changed by AutoHideDockTask)"});
    auto listed = service.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].cause, "Restore");
    EXPECT_EQ(listed[0].before, "1");
    EXPECT_EQ(listed[0].after, "0");
    EXPECT_EQ(listed[1].cause, "ShowHiddenFilesTask");

    // The restore itself is put back when asked for by number; then
    // everything, which means the tweaks' changes and leaves the restores
    // alone: the key that was absent is removed again, the Dock's stays.
    RestoreSelection restoreItself;
    restoreItself.ids = {listed[0].id};
    ASSERT_EQ(service.restore(restoreItself)[0].result, Outcome::restored);
    EXPECT_EQ(preferences.values[autohide], "1");
    steps = service.restore({});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].entry.cause, "ShowHiddenFilesTask");
    EXPECT_EQ(preferences.values.count(showAll), 0u);
    EXPECT_EQ(preferences.values[autohide], "1");

    RestoreSelection gone;
    gone.ids = {dock};
    steps = service.restore(gone);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].result, Outcome::failed);
}

// A value someone else set since is theirs: left alone unless forced, and a
// dry run says what would happen without writing, journaling or forgetting.
TEST_F(RestoreServiceTest, aValueChangedSinceIsSkippedUnlessForcedAndADryRunChangesNothing) {
    preferences.values[autohide] = "0";
    change("AutoHideDockTask", autohide, "1");
    preferences.values[autohide] = "7";
    const auto logged = log.entries();

    auto steps = service.restore({});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].result, Outcome::skipped);
    EXPECT_EQ(steps[0].detail, "changed since by someone else: now 7");
    steps = service.restore({}, {.force = true, .dryRun = true});
    EXPECT_EQ(steps[0].result, Outcome::wouldRestore);
    EXPECT_EQ(preferences.values[autohide], "7");
    EXPECT_EQ(log.entries(), logged);
    EXPECT_TRUE(journal.lines().empty());

    steps = service.restore({}, {.force = true});
    EXPECT_EQ(steps[0].result, Outcome::restored);
    EXPECT_EQ(steps[0].detail, "over 7");
    EXPECT_EQ(preferences.values[autohide], "0");
}

// Two tweaks wrote one key: the later change goes back first, so the
// earlier one finds its own value and the key ends as it was before both.
TEST_F(RestoreServiceTest, changesToOneTargetUnwindNewestFirst) {
    preferences.values[autohide] = "0";
    change("AutoHideDockTask", autohide, "1");
    change("DockAutohideDelayTask", autohide, "2");

    const auto steps = service.restore({});
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].entry.cause, "DockAutohideDelayTask");
    EXPECT_EQ(steps[0].result, Outcome::restored);
    EXPECT_EQ(steps[1].result, Outcome::restored);
    EXPECT_EQ(preferences.values[autohide], "0");
    // Both restores fold into one, which puts back the latest value.
    const auto listed = service.list();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].before, "2");
    EXPECT_EQ(listed[0].after, "0");
}

// What cannot be put back says why, once: a restore that meant it forgets
// it, so the next one is clean. What failed stays listed.
TEST_F(RestoreServiceTest, whatCannotBePutBackIsReportedOnceAndWhatFailedIsKept) {
    RestoreEntry emptied;
    emptied.cause = "EmptyTrashTask";
    emptied.kind = "file";
    emptied.target = "~/.Trash";
    emptied.restorable = false;
    emptied.note = "deleted: no copy is kept";
    ASSERT_TRUE(log.record(emptied));
    RestoreEntry resolution = emptied;
    resolution.cause = "ScreenResolutionTask";
    resolution.kind = "display";
    resolution.restorable = true;
    ASSERT_TRUE(log.record(resolution));
    preferences.readOnly = autohide;
    change("AutoHideDockTask", autohide, "1");

    EXPECT_EQ(service.restore({}, {.dryRun = true}).size(), 3u);
    EXPECT_EQ(log.entries().size(), 3u);
    const auto steps = service.restore({});
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].result, Outcome::failed);
    EXPECT_EQ(steps[0].detail, "the domain is read-only");
    EXPECT_EQ(steps[1].detail, "nothing here can put back a display");
    EXPECT_EQ(steps[2].result, Outcome::notRestorable);
    EXPECT_EQ(steps[2].detail, "deleted: no copy is kept");
    EXPECT_EQ(restoreStepLine(steps[2]),
              "not restorable  #1  EmptyTrashTask  file  ~/.Trash  (deleted: no copy is kept)");
    EXPECT_EQ(log.entries().size(), 2u);
    EXPECT_TRUE(journal.lines().empty());
}

// A tweak is switched off once, before the first of its changes is written
// back, and not for a dry run. What its own stop put back is only forgotten.
TEST_F(RestoreServiceTest, eachTweakIsSwitchedOffOnceBeforeItsChangesArePutBack) {
    constexpr const char* delay = "com.apple.dock autohide-delay";
    constexpr const char* hidden = "com.apple.dock showhidden";
    for (const auto* key : {autohide, delay, hidden})
        preferences.values[key] = "0";
    change("AutoHideDockTask", autohide, "1");
    change("AutoHideDockTask", delay, "1");
    change("DimHiddenAppsTask", hidden, "1");
    std::vector<std::pair<std::string, int>> switchedOff;
    service.setSwitchOff([&](const std::string& cause) {
        switchedOff.emplace_back(cause, preferences.writes);
        if (cause == "AutoHideDockTask")
            change(cause, delay, "0");  // its stop undoes one of its changes
        else
            change(cause, hidden, "2");  // its stop writes a value of its own
    });

    service.restore({}, {.dryRun = true});
    EXPECT_TRUE(switchedOff.empty());
    const auto steps = service.restore({});
    EXPECT_EQ(switchedOff, (std::vector<std::pair<std::string, int>>{{"DimHiddenAppsTask", 0},
                                                                     {"AutoHideDockTask", 1}}));
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[1].detail, "put back by switching it off");
    for (const auto* key : {autohide, delay, hidden})
        EXPECT_EQ(preferences.values[key], "0") << key;
    ASSERT_EQ(journal.lines().size(), 2u);
    // The restore keeps what the tweak had left, not what its stop wrote on
    // the way: putting the restore back gives the person's value again.
    EXPECT_NE(journal.lines()[0].find("put back com.apple.dock showhidden: 1 → 0"),
              std::string::npos)
        << journal.lines()[0];
    const auto undo = log.entries().front();
    EXPECT_EQ(undo.target, hidden);
    EXPECT_EQ(undo.before, "1");
}

// A change is kept only when the setting reads differently after it: a
// request the system ignored is not a change. A setting that cannot be
// read is still changed, and the log says why it is not kept.
TEST_F(RestoreServiceTest, aChangeIsKeptOnlyWhenItChangedSomething) {
    StateTable states("system");
    std::map<std::string, std::string> held{{"http", "com.apple.Safari"}};
    bool readable = true;
    states.add(
        "default browser",
        [&](const std::string& scheme) -> platform::Result<std::optional<std::string>> {
            if (!readable)
                return platform::Error{"no handler database"};
            return std::optional<std::string>(held[scheme]);
        },
        [&](const std::string& scheme, const std::optional<std::string>& value) -> platform::Status {
            held[scheme] = value.value_or("");
            return platform::success();
        });
    ChangeRecorder changes(&log, diagnostics);
    service.addKind("system", states);

    changes.around("DefaultBrowserTweak", states, "default browser http", [] {});  // ignored
    EXPECT_TRUE(log.entries().empty());
    changes.around("DefaultBrowserTweak", states, "default browser http",
                   [&] { held["http"] = "org.mozilla.firefox"; });
    readable = false;
    bool changed = false;
    changes.around("DefaultBrowserTweak", states, "default browser https", [&] { changed = true; });
    EXPECT_TRUE(changed);
    EXPECT_EQ(diagnostics.lines.size(), 1u);
    EXPECT_FALSE(states.read("volume").ok());  // no such setting

    readable = true;
    const auto steps = service.restore({});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].entry.target, "default browser http");
    EXPECT_EQ(held["http"], "com.apple.Safari");
}

}  // namespace
}  // namespace quorvane::core

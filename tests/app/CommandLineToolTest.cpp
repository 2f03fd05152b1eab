#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileJournal.hpp"
#include "simmac/SimHome.hpp"
#include "simmac/SimPower.hpp"
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
    // With a private runtime folder (where an instance's socket would be)
    // and $QUORVANE naming the program, for shell lines.
    std::map<std::string, std::string> commandEnvironment() const {
        auto env = environment();
        env["XDG_RUNTIME_DIR"] = (home.path() / "run").string();
        std::filesystem::create_directories(home.path() / "run");
        std::filesystem::permissions(home.path() / "run", std::filesystem::perms::owner_all);
        env["QUORVANE"] = QUORVANE_BINARY;
        return env;
    }
    // A shell line with $QUORVANE and $SIMULATED (the simulated Mac's own
    // tools, as a person would run them there); its output and errors.
    std::vector<std::string> shell(const std::string& command, int expectedStatus = 0) const {
        auto variables = commandEnvironment();
        variables["SIM"] = (home.path() / "sim").string();
        variables["SIMULATED"] = "env HOME=" + (home.path() / "sim/home").string() + " PATH=" +
                                 (home.path() / "sim/bin").string() + ":/usr/bin:/bin";
        testing::ChildProcess sh("/bin/sh", {"-c", command + " 2>&1"}, variables);
        std::vector<std::string> lines;
        while (auto line = sh.readLine(60s))
            lines.push_back(*line);
        EXPECT_EQ(sh.wait(), expectedStatus) << command;
        return lines;
    }
    std::vector<std::string> run(const std::vector<std::string>& arguments,
                                 int expectedStatus = 0) {
        return runIn(environment(), arguments, expectedStatus);
    }
    // Runs the program to its end; its output lines.
    static std::vector<std::string> runIn(const std::map<std::string, std::string>& env,
                                          const std::vector<std::string>& arguments,
                                          int expectedStatus) {
        testing::ChildProcess quorvane(QUORVANE_BINARY, arguments, env);
        std::vector<std::string> lines;
        while (auto line = quorvane.readLine(30s))
            lines.push_back(*line);
        EXPECT_EQ(quorvane.wait(), expectedStatus);
        return lines;
    }
};

// "list" only shows: even an unreadable record or settings file stays
// exactly where and as it is, and nothing else appears.
TEST_F(CommandLineToolTest, listChangesNoFileEvenWhenOneIsUnreadable) {
    const auto records = home.path() / "data/com.tarnvell.Quorvane/Default";
    const auto settings = home.path() / "config/com.tarnvell.Quorvane/UserDefaults.json";
    std::filesystem::create_directories(records);
    std::filesystem::create_directories(settings.parent_path());
    std::ofstream(records / "preference.json") << R"({"showsInMenuBar": tr)";
    std::ofstream(settings) << "[not an object";
    auto files = [&] {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home.path()))
            found.push_back(entry.path().string());
        std::sort(found.begin(), found.end());
        return found;
    };
    const auto before = files();
    EXPECT_FALSE(run({"list", "--group", "dock"}).empty());
    EXPECT_EQ(files(), before);
    std::ifstream kept(records / "preference.json");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), R"({"showsInMenuBar": tr)");
}

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

    EXPECT_TRUE(sim.isGranted(platform::Permission::accessibility));
    EXPECT_EQ(run({"sim", "revoke", "accessibility"}),
              std::vector<std::string>{"The simulated Mac has revoked Accessibility permission."});
    EXPECT_FALSE(sim.isGranted(platform::Permission::accessibility));
    EXPECT_TRUE(sim.isGranted(platform::Permission::screenRecording));
    run({"sim", "grant", "accessibility"});
    EXPECT_TRUE(sim.isGranted(platform::Permission::accessibility));

    // The power state is files: one edited by hand, bytes and all, still shows.
    platform::sim::SimPower power(home.path() / "sim");
    power.recordDone("restart at 1 \xff");
    const auto json = run({"sim", "power", "--json"});
    EXPECT_NE(std::find(json.begin(), json.end(), "  \"powermode\": 0,"), json.end());
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

std::vector<std::string> journalOf(const std::function<std::vector<std::string>()>& read,
                                   std::size_t atLeast) {
    std::vector<std::string> journal;
    for (int i = 0; i < 200; ++i) {
        journal = read();
        if (journal.size() >= atLeast)
            break;
        std::this_thread::sleep_for(20ms);
    }
    return journal;
}

TEST_F(CommandLineToolTest, theCommandLineDrivesTheRunningInstance) {
    auto env = environment();
    env["XDG_RUNTIME_DIR"] = (home.path() / "run").string();
    std::filesystem::create_directories(home.path() / "run");
    std::filesystem::permissions(home.path() / "run", std::filesystem::perms::owner_all);
    auto runWith = [&](const std::vector<std::string>& arguments, int expected) {
        return runIn(env, arguments, expected);
    };
    // System events reach a running instance only.
    EXPECT_EQ(runWith({"sim", "post", "com.apple.screenIsLocked"}, 1), std::vector<std::string>{});

    // Shortcuts on the simulated Mac's keyboard, recorded in an earlier session.
    env["DISPLAY"] = "";
    std::filesystem::create_directories(home.path() / "config/com.tarnvell.Quorvane");
    std::ofstream(home.path() / "config/com.tarnvell.Quorvane/UserDefaults.json")
        << R"({"Hotkeys.AutoHideDockTask":"Ctrl+Alt+K"})";
    // A rule from an earlier session: locking the screen shows the Dock again.
    const auto records = home.path() / "data/com.tarnvell.Quorvane/Default";
    std::filesystem::create_directories(records);
    std::ofstream(records / "AutomationManager.automation.json")
        << R"({"reactions":[{"event":"screenLocked","tweakId":"AutoHideDockTask",)"
        << R"("action":"toggleOff"}]})";

    testing::ChildProcess first(QUORVANE_BINARY, {}, env);
    ASSERT_EQ(first.readLine(30s), "Quorvane is running.");
    EXPECT_EQ(runWith({}, 0), std::vector<std::string>{
                                  "Quorvane is already running; asked it to show its window."});
    EXPECT_EQ(runWith({"set", "AutoHideDockTask", "on"}, 0),
              std::vector<std::string>{"Switched AutoHideDockTask on (simulated Mac)."});
    EXPECT_EQ(runWith({"run", "Auto Hide Dock"}, 0), std::vector<std::string>{});  // a toggle
    auto journal = journalOf([&] { return runWith({"journal"}, 0); }, 2);
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_TRUE(journal[0].ends_with(
        "AutoHideDockTask  preference  defaults  write com.apple.dock autohide -bool true"));
    EXPECT_TRUE(journal[1].ends_with("AutoHideDockTask  restart  Dock restarted"));

    EXPECT_EQ(runWith({"sim", "post", "com.apple.screenIsLocked"}, 0),
              std::vector<std::string>{"Posted com.apple.screenIsLocked (1 observer)"});
    EXPECT_EQ(runWith({"sim", "post", "com.apple.screenIsDimmed"}, 1), std::vector<std::string>{});
    journal = journalOf([&] { return runWith({"journal"}, 0); }, 5);
    ASSERT_EQ(journal.size(), 5u);
    EXPECT_TRUE(journal[2].ends_with("SimulatedMac  system event  com.apple.screenIsLocked"));
    EXPECT_TRUE(journal[3].ends_with(
        "AutoHideDockTask  preference  defaults  write com.apple.dock autohide -bool false"));

    // The recorded shortcut flips the toggle and applies it.
    EXPECT_EQ(runWith({"sim", "press", "Ctrl+Alt+K"}, 0),
              std::vector<std::string>{"Pressed Ctrl+Alt+K"});
    EXPECT_EQ(runWith({"sim", "press", "Ctrl+Alt+J"}, 0),
              std::vector<std::string>{"Pressed Ctrl+Alt+J (no shortcut has it)"});
    // Each key reaches the simulated desktop, which journals it.
    journal = journalOf([&] { return runWith({"journal"}, 0); }, 9);
    ASSERT_EQ(journal.size(), 9u);
    EXPECT_TRUE(journal[5].ends_with("SimulatedMac  input  key Ctrl+Alt+K"));
    EXPECT_TRUE(journal[6].ends_with(
        "AutoHideDockTask  preference  defaults  write com.apple.dock autohide -bool true"));
    // A file name that is not UTF-8 reaches the instance byte for byte.
    const auto odd = home.path() / "bad\xff";
    std::filesystem::create_directories(odd);
    EXPECT_EQ(runWith({"finder-action", "newFolder", odd.string()}, 0), std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::exists(odd / "untitled folder"));
    runWith({"run", "bad\xffname"}, 2);
    first.sendSignal(SIGTERM);
    EXPECT_EQ(first.wait(), 0);
}

// Another user made the runtime folder first: still one instance only, and
// the command line finds it.
TEST_F(CommandLineToolTest, aSquattedRuntimeFolderNeverLetsTwoInstancesRun) {
    auto env = environment();
    const auto run = home.path() / "run";
    env["XDG_RUNTIME_DIR"] = run.string();
    std::filesystem::create_directories(run / "quorvane");
    std::filesystem::permissions(run, std::filesystem::perms::owner_all);
    std::filesystem::permissions(run / "quorvane", std::filesystem::perms::all);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((run / "quorvane").c_str(), 65534, 65534), 0);
    }
    auto runWith = [&](const std::vector<std::string>& arguments, int expected) {
        return runIn(env, arguments, expected);
    };
    env["DISPLAY"] = "";
    testing::ChildProcess first(QUORVANE_BINARY, {}, env);
    ASSERT_EQ(first.readLine(30s), "Quorvane is running.");
    EXPECT_EQ(runWith({}, 0), std::vector<std::string>{
                                  "Quorvane is already running; asked it to show its window."});
    EXPECT_TRUE(std::filesystem::exists(home.path() / "state/com.tarnvell.Quorvane/run/control.sock"));
    EXPECT_EQ(runWith({"set", "AutoHideDockTask", "on"}, 0),
              std::vector<std::string>{"Switched AutoHideDockTask on (simulated Mac)."});
    first.sendSignal(SIGTERM);
    EXPECT_EQ(first.wait(), 0);

    // With no private folder at all, it does not start, and says why.
    std::filesystem::remove_all(home.path() / "state/com.tarnvell.Quorvane/run");
    std::ofstream(home.path() / "state/com.tarnvell.Quorvane/run") << "in the way";
    testing::ChildProcess refused(QUORVANE_BINARY, {}, env);
    EXPECT_EQ(refused.wait(), 1);
}

// What a tweak wrote is put back as it was; a value someone changed since
// is left alone unless forced; putting back is itself kept to put back.
TEST_F(CommandLineToolTest, restorePutsBackWhatTweaksChangedNewestFirst) {
    shell("\"$QUORVANE\" toggle 'Auto Hide Dock' on");
    shell("\"$QUORVANE\" set ShowHiddenFilesTask on");
    shell("\"$QUORVANE\" set ShowHiddenFilesTask off");
    const auto listed = shell("\"$QUORVANE\" restore --list");
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_NE(listed[0].find("ShowHiddenFilesTask  preference  com.apple.finder AppleShowAllFiles  "
                             "absent → 0"),
              std::string::npos)
        << listed[0];
    EXPECT_NE(listed[1].find("AutoHideDockTask  preference  com.apple.dock autohide  absent → 1"),
              std::string::npos)
        << listed[1];

    // Someone else sets the Dock's key meanwhile: left alone, and said so.
    shell("$SIMULATED defaults write com.apple.dock autohide -bool false");
    const auto refused = shell("\"$QUORVANE\" restore --all", 1);
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_TRUE(refused[0].starts_with("restored  #2  ShowHiddenFilesTask")) << refused[0];
    EXPECT_NE(refused[1].find("(changed since by someone else: now 0)"), std::string::npos)
        << refused[1];
    const std::vector<std::string> absent{"absent"};
    EXPECT_EQ(shell("$SIMULATED defaults read com.apple.finder AppleShowAllFiles >/dev/null 2>&1 "
                    "|| echo absent"),
              absent);
    EXPECT_EQ(shell("\"$QUORVANE\" restore --tweak 'Auto Hide Dock' --dry-run", 1).size(), 1u);
    const auto forced = shell("\"$QUORVANE\" restore --tweak 'Auto Hide Dock' --force");
    ASSERT_EQ(forced.size(), 1u);
    EXPECT_NE(forced[0].find("(over 0)"), std::string::npos) << forced[0];
    EXPECT_EQ(shell("$SIMULATED defaults read com.apple.dock autohide >/dev/null 2>&1 || echo absent"),
              absent);
    // The restores themselves can be put back.
    const auto restores = shell("\"$QUORVANE\" restore --list");
    ASSERT_EQ(restores.size(), 2u);
    EXPECT_NE(restores[0].find("Restore  preference  com.apple.dock autohide  0 → absent"),
              std::string::npos)
        << restores[0];
    EXPECT_EQ(shell("\"$QUORVANE\" restore", 2).size(), 1u);  // nothing chosen: usage
}

// Twenty tweaks switched on and off, some left on, one-shots run: putting
// everything back leaves the simulated Mac as it was, every file of its
// home and every setting (volumes, Bluetooth, HID, power, browsers), and
// every switch of ours with it.
TEST_F(CommandLineToolTest, restoreEverythingLeavesTheMacAsItWas) {
    const std::string state =
        "mkdir -p \"$SIM/home\" && cd \"$SIM/home\" && find . -type f | LC_ALL=C sort | xargs -r -d '\\n' sha256sum; "
        "for what in volume bluetooth hid 'power --json' desktop-picture browser; do "
        "\"$QUORVANE\" sim $what; done; \"$QUORVANE\" list | cut -c1-36,95-101";
    shell("\"$QUORVANE\" sim volume output 35 && \"$QUORVANE\" sim volume input 70");
    const auto before = shell(state);
    ASSERT_GT(before.size(), 98u);

    const std::string switched[] = {
        "AutoHideDockTask",         "ShowHiddenFilesTask",         "ShowFileExtensionTask",
        "ShowFullPathTask",         "DisableScreenshotShadowTask", "ShowRecentAppsDockTask",
        "UseSuckEffectTask",        "UseDockScrollGestureTask",    "EnableSingleAppModeTask",
        "LockDockSizeTask",         "DisableIndexingTask",         "ShowProjectBuildTimeTask",
        "ToggleDesktopIconsTask",   "AutoHideMenuBarTask"};
    for (const auto& tweak : switched)
        shell("\"$QUORVANE\" set " + tweak + " on && \"$QUORVANE\" set " + tweak + " off");
    for (const char* tweak : {"ToggleDarkModeTask", "MuteTask", "MuteMicrophoneTask",
                              "EnableStandardFKeyTask", "LowPowerModeTask", "SnapWindowsTask"})
        shell(std::string("\"$QUORVANE\" set ") + tweak + " on");
    for (const char* tweak : {"EnableBluetoothTask", "RemoveAutohideDelayTask"})
        shell(std::string("\"$QUORVANE\" set ") + tweak + " off");
    shell("\"$QUORVANE\" run KeyboardSpellingLanguageTask && \"$QUORVANE\" run ResetLaunchPad");
    ASSERT_NE(shell(state), before);
    EXPECT_GE(shell("\"$QUORVANE\" restore --list").size(), 20u);

    shell("\"$QUORVANE\" restore --all");
    EXPECT_EQ(shell(state), before);
    // What is left is the restores' own record, each there to be undone.
    for (const auto& line : shell("\"$QUORVANE\" restore --list"))
        EXPECT_NE(line.find("  Restore  "), std::string::npos) << line;
}

// In the running instance a tweak that is on is switched off first, its
// stop finished before its change is put back.
TEST_F(CommandLineToolTest, restoreInTheRunningInstanceStopsTheTweakFirstAndAKillLosesNoChange) {
    auto env = environment();
    env["XDG_RUNTIME_DIR"] = (home.path() / "run").string();
    env["DISPLAY"] = "";
    std::filesystem::create_directories(home.path() / "run");
    std::filesystem::permissions(home.path() / "run", std::filesystem::perms::owner_all);
    testing::ChildProcess instance(QUORVANE_BINARY, {}, env);
    ASSERT_EQ(instance.readLine(30s), "Quorvane is running.");
    runIn(env, {"toggle", "Auto Hide Dock", "on"}, 0);
    // The write lands on the instance's workers a moment later.
    const auto recorded = [&] {
        const auto lines = runIn(env, {"restore", "--list"}, 0);
        return !lines.empty() && lines[0].find("AutoHideDockTask") != std::string::npos;
    };
    for (int look = 0; look < 100 && !recorded(); ++look)
        std::this_thread::sleep_for(50ms);
    const auto restored = runIn(env, {"restore", "--tweak", "AutoHideDockTask"}, 0);
    ASSERT_EQ(restored.size(), 1u);
    EXPECT_TRUE(restored[0].starts_with("restored  #1  AutoHideDockTask")) << restored[0];
    const auto listed = runIn(env, {"list", "--search", "Auto Hide Dock"}, 0);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_NE(listed[1].find(" off "), std::string::npos) << listed[1];
    // Nothing of the tweak's is left to put back: its stop did not land
    // over the restored value.
    for (const auto& line : runIn(env, {"restore", "--list"}, 0))
        EXPECT_EQ(line.find("AutoHideDockTask"), std::string::npos) << line;

    // A change is on disk once made: killed at once, the instance leaves
    // it to put back.
    runIn(env, {"toggle", "Auto Hide Dock", "on"}, 0);
    for (int look = 0; look < 100 && !recorded(); ++look)
        std::this_thread::sleep_for(50ms);
    instance.sendSignal(SIGKILL);
    instance.wait();
    const auto kept = runIn(env, {"restore", "--list"}, 0);
    ASSERT_FALSE(kept.empty());
    EXPECT_NE(kept[0].find("AutoHideDockTask  preference  com.apple.dock autohide  absent → 1"),
              std::string::npos)
        << kept[0];
}

TEST_F(CommandLineToolTest, withNoInstanceRunningACommandRunsTheTweakHereAndSaves) {
    auto env = environment();
    env["XDG_RUNTIME_DIR"] = (home.path() / "run").string();
    std::filesystem::create_directories(home.path() / "run");
    std::filesystem::permissions(home.path() / "run", std::filesystem::perms::owner_all);
    auto shell = [&](const std::string& command, std::map<std::string, std::string> extra = {}) {
        auto variables = env;
        for (auto& [name, value] : extra)
            variables[name] = value;
        variables["QUORVANE"] = QUORVANE_BINARY;
        testing::ChildProcess sh("/bin/sh", {"-c", command + " 2>&1"}, variables);
        std::vector<std::string> lines;
        while (auto line = sh.readLine(30s))
            lines.push_back(*line);
        EXPECT_EQ(sh.wait(), 0) << command;
        return lines;
    };
    EXPECT_EQ(shell("\"$QUORVANE\" toggle 'Auto Hide Dock' on"),
              std::vector<std::string>{"Switched Auto Hide Dock on (simulated Mac)."});
    // Without a desktop session every tweak acts on the simulated Mac, and
    // the list says so, with the reason.
    const auto snapLine = shell("\"$QUORVANE\" list --json | grep '\"id\":\"SnapWindowsTask\"'");
    ASSERT_EQ(snapLine.size(), 1u);
    const auto snap = nlohmann::json::parse(snapLine[0]);
    EXPECT_EQ(snap.value("actsOn", ""), "simulated");
    EXPECT_FALSE(snap.value("actsOnReason", "").empty());
    const auto sim = home.path() / "sim";
    EXPECT_EQ(shell("defaults read com.apple.dock autohide",
                    {{"HOME", (sim / "home").string()},
                     {"PATH", (sim / "bin").string() + ":/usr/bin:/bin"}}),
              std::vector<std::string>{"1"});
    // `list` reads a mirrored switch from the system, quietly: on.
    const auto listed = shell("\"$QUORVANE\" list --search 'Auto Hide Dock'");
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_NE(listed[1].find(" on "), std::string::npos) << listed[1];
    // An unknown name does nothing and keeps the calling script going.
    EXPECT_EQ(shell("\"$QUORVANE\" 'quorvane://run?name=Empty%20Bin'"),
              std::vector<std::string>{"quorvane: no such tweak \"Empty Bin\""});

    // Commands run at once with no instance take turns instead of failing.
    EXPECT_EQ(shell("for tweak in AutoHideDockTask ShowHiddenFilesTask LockDockSizeTask "
                    "ShowFullPathTask QuitFinderTask HighlightHiddenAppTask; do "
                    "\"$QUORVANE\" set $tweak on > /dev/null & pids=\"$pids $!\"; done; failed=0; "
                    "for pid in $pids; do wait $pid || failed=$((failed + 1)); done; "
                    "echo $failed"),
              std::vector<std::string>{"0"});

    // From a link, a plain preference switches; one that restarts the Dock
    // and a one-shot are refused, as there is no window to ask in, and the
    // journal says so.
    EXPECT_EQ(shell("\"$QUORVANE\" --from-link "
                    "'quorvane://toggle?name=Disable%20Screenshot%20shadow&on=true'"),
              std::vector<std::string>{"Switched Disable Screenshot shadow on (simulated Mac)."});
    EXPECT_EQ(
        shell("\"$QUORVANE\" --from-link 'quorvane://toggle?name=Auto%20Hide%20Dock&on=false' "
              "2>&1 || echo $?"),
        (std::vector<std::string>{"quorvane: a link asks before it switches \"Auto Hide Dock\", "
                                  "and this Quorvane has no window to ask in",
                                  "1"}));
    EXPECT_EQ(shell("\"$QUORVANE\" --from-link 'quorvane://run?name=Empty%20Trash' 2>&1 || echo $?"),
              (std::vector<std::string>{"quorvane: a link asks before it runs \"Empty Trash\", and "
                                        "this Quorvane has no window to ask in",
                                        "1"}));
    const auto journal = shell("\"$QUORVANE\" journal");
    ASSERT_FALSE(journal.empty());
    EXPECT_NE(journal.back().find("EmptyTrashTask  link refused  no window to ask: "
                                  "quorvane://run?name=Empty%20Trash"),
              std::string::npos)
        << journal.back();
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

// A run that did nothing says why on standard error and fails; an alert is
// named only when one was shown.
TEST_F(CommandLineToolTest, aRefusedRunOrSwitchIsToldAsARefusalAndFails) {
    auto env = commandEnvironment();
    auto shell = [&](const std::string& command) {
        testing::ChildProcess sh("/bin/sh", {"-c", command + " 2>&1; echo $?"}, env);
        std::vector<std::string> lines;
        while (auto line = sh.readLine(30s))
            lines.push_back(*line);
        EXPECT_EQ(sh.wait(), 0) << command;
        return lines;
    };
    shell("\"$QUORVANE\" sim revoke accessibility");
    EXPECT_EQ(shell("\"$QUORVANE\" run 'Auto Scroll'"),
              (std::vector<std::string>{"quorvane: Auto Scroll: the tweak refused: needs the "
                                        "Accessibility permission; the system was asked for it; "
                                        "nothing happened",
                                        "1"}));
    EXPECT_EQ(shell("\"$QUORVANE\" toggle 'Snap Windows' on"),
              (std::vector<std::string>{"quorvane: Snap Windows stayed off: the tweak refused: "
                                        "needs the Accessibility permission; the system was "
                                        "asked for it; nothing happened",
                                        "1"}));
    // Nothing here could catch Black out's shortcut: it says so, and its
    // alert said so too.
    // (The alert itself is a log line here, with no window to show it in.)
    const auto blackOut = shell("\"$QUORVANE\" toggle 'Black out' on");
    ASSERT_GE(blackOut.size(), 2u);
    const auto& said = blackOut[blackOut.size() - 2];
    EXPECT_NE(said.find("Black out stayed off: the tweak refused: No running Quorvane holds its "
                        "keyboard shortcut"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("(its alert says why)"), std::string::npos);
    EXPECT_EQ(blackOut.back(), "1");
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

// Schedule shutdown from the command line with no instance, again and
// again: each run leaves exactly one shutdown pending (it replaces the one
// before), the command is over as soon as it has spoken even with its
// output piped (the tool holds none of it), and what it says is what
// became of the switch.
TEST_F(CommandLineToolTest, aShutdownScheduledWithNoInstanceIsTheOnlyOneAndHoldsNothing) {
    auto env = commandEnvironment();
    const platform::sim::SimPower power(home.path() / "sim");
    // A pending shutdown outlives every command, as it should: not the test.
    struct EndPending {
        const platform::sim::SimPower& power;
        ~EndPending() {
            for (const auto& pending : power.shutdowns())
                ::kill(pending.pid, SIGTERM);
        }
    } endPending{power};
    auto run = [&](const std::string& command, std::vector<std::string>& lines) {
        const auto started = std::chrono::steady_clock::now();
        testing::ChildProcess sh("/bin/sh", {"-c", command}, env);
        while (auto line = sh.readLine(20s))
            lines.push_back(*line);
        const bool over = std::chrono::steady_clock::now() - started < 15s;
        if (!over)
            sh.sendSignal(SIGKILL);
        EXPECT_TRUE(over) << command << ": its output stayed open";
        return sh.wait();
    };
    auto settled = [](const std::function<bool()>& done) {
        for (int i = 0; i < 250 && !done(); ++i)
            std::this_thread::sleep_for(20ms);
        return done();
    };

    std::vector<int> seen;
    for (int time = 0; time < 4; ++time) {
        std::vector<std::string> lines;
        EXPECT_EQ(run("\"$QUORVANE\" toggle 'Schedule shutdown' on 2>&1 | cat", lines), 0);
        EXPECT_EQ(lines, std::vector<std::string>{"Switched Schedule shutdown on (simulated Mac)."});
        ASSERT_TRUE(settled([&] {
            const auto pending = power.shutdowns();
            return pending.size() == 1 && std::ranges::count(seen, pending[0].pid) == 0;
        })) << "after run " << time + 1 << ": " << power.shutdowns().size() << " pending";
        seen.push_back(power.shutdowns()[0].pid);
    }

    // Replacing it needs the administrator's password: cancelled, the
    // pending one stays, none is added, and the command says so.
    std::vector<std::string> lines;
    EXPECT_EQ(run("\"$QUORVANE\" sim admin cancel && \"$QUORVANE\" toggle 'Schedule shutdown' on "
                  "2>&1",
                  lines),
              1);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("Schedule shutdown stayed off"), std::string::npos) << lines.back();
    const auto pending = power.shutdowns();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].pid, seen.back());
}

}  // namespace
}  // namespace quorvane

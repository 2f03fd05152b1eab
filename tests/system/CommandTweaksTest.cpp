#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "core/catalogue/Catalogue.hpp"
#include "platform/memory/ManualMainQueue.hpp"
#include "platform/memory/MemoryBlobStore.hpp"
#include "platform/memory/MemoryJournal.hpp"
#include "platform/memory/MemoryLog.hpp"
#include "platform/memory/MemoryUserDefaults.hpp"
#include "platform/posix/PosixProcessLauncher.hpp"
#include "platform/posix/PosixShellRunner.hpp"
#include "platform/sim/SimDesktop.hpp"
#include "platform/sim/SimScripting.hpp"
#include "support/TemporaryDirectory.hpp"
#include "system/CommandTweaks.hpp"

namespace quorvane::system {
namespace {

using namespace std::chrono_literals;

// The one-shot command tweaks on the simulated Mac, from the catalogue to
// the journal, with real shell commands.
struct CommandTweaksTest : ::testing::Test {
    testing::TemporaryDirectory temporary;
    platform::sim::SimHome home{temporary.path() / "sim"};
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::posix::PosixShellRunner shell{preparedEnvironment()};
    platform::sim::SimScripting scripting{shell, home, journal};
    platform::posix::PosixProcessLauncher launcher;
    platform::sim::SimPermissionAsker permissions{journal};
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimWorkspace workspace;
    ScriptRunner runner{scripting, launcher, permissions, queue, journal, log, temporary.path()};
    core::SerialExecutor commands{"Commands"};
    SystemServices services{runner,     shell,     commands,
                            pasteboard, workspace, journal,
                            log,        queue,     "com.tarnvell.Quorvane"};
    platform::memory::MemoryBlobStore blobs;
    platform::memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    core::NoScriptTweaks scripts;
    core::TweakFactory factory;
    std::unique_ptr<core::Catalogue> catalogue;

    std::map<std::string, std::string> preparedEnvironment() {
        EXPECT_TRUE(home.prepare());
        return home.commandEnvironment();
    }

    void SetUp() override {
        addCommandTweaks(factory, services);
        catalogue = std::make_unique<core::Catalogue>(factory, store, log, scripts);
    }

    void run(const std::string& id) {
        auto tweak = catalogue->find(id);
        ASSERT_TRUE(tweak->isAvailable()) << id;
        tweak->run();
    }

    // Everything queued on both executors has run.
    void settle() {
        runner.runAppleScript("", "settle").get();
        std::promise<void> done;
        commands.submit([&] { done.set_value(); });
        done.get_future().get();
        runner.runAppleScript("", "settle").get();
    }
};

TEST_F(CommandTweaksTest, eachTweakDoesItsOneThingAndTheJournalSaysSo) {
    pasteboard.setString("secret");
    run("ClearClipboardTask");
    EXPECT_FALSE(pasteboard.string());
    run("LaunchScreenSaverTask");
    EXPECT_EQ(workspace.runningApplications(), std::vector<std::string>{"ScreenSaverEngine"});
    run("EjectDisksTask");
    run("EmptyTrashTask");
    run("ResetAppleEventsTask");
    settle();

    const auto sources = scripting.sources();
    EXPECT_NE(std::find(sources.begin(), sources.end(),
                        "tell application \"Finder\"\n    eject (every disk whose ejectable is "
                        "true)\nend tell"),
              sources.end());
    EXPECT_NE(
        std::find(sources.begin(), sources.end(),
                  "do shell script \"sudo tccutil reset AppleEvents com.tarnvell.Quorvane\"with "
                  "administrator privileges"),
        sources.end());
    const auto lines = journal.lines();
    EXPECT_EQ(lines[0], "ClearClipboardTask pasteboard cleared");
    EXPECT_EQ(lines[1], "LaunchScreenSaverTask launch application ScreenSaverEngine");
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  "ResetAppleEventsTask command as administrator sudo tccutil reset AppleEvents "
                  "com.tarnvell.Quorvane"),
        lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "SimulatedMac admin prompt approved"),
              lines.end());
}

TEST_F(CommandTweaksTest, restoringXcodeDefaultsMovesItsPreferencesAside) {
    const auto plist = home.homeDirectory() / "Library/Preferences/com.apple.dt.xcode.plist";
    std::ofstream(plist) << "<plist/>";
    run("RestoreXcodeDefaultTask");
    settle();
    EXPECT_FALSE(std::filesystem::exists(plist));
    EXPECT_TRUE(std::filesystem::exists(home.homeDirectory() / "Desktop/XcodeDefaults.plist"));
    // The restart runs beside the commands, in no fixed order with them.
    const auto lines = journal.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "RestoreXcodeDefaultTask restart Xcode"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "RestoreXcodeDefaultTask command open -b com.apple.dt.xcode"),
              lines.end());
}

TEST_F(CommandTweaksTest, unquarantineTakesAnyPathAsOneArgument) {
    EXPECT_EQ(unquarantineCommand("/Applications/Tool.app"),
              "xattr -r -d com.apple.quarantine /Applications/Tool.app");
    EXPECT_EQ(unquarantineCommand("-rf"), "xattr -r -d com.apple.quarantine ./-rf");

    for (std::string name : {"it's \"odd\" $(touch pwned) \\ `id`", "line\nbreak", "-dash"}) {
        const auto path = temporary.path() / name;
        std::ofstream(path) << "x";
        std::optional<UnquarantineMessage> shown;
        unquarantine(services, path.string(),
                     [&](UnquarantineMessage message) { shown = message; });
        for (int i = 0; i < 500 && !shown; ++i) {
            std::this_thread::sleep_for(5ms);
            queue.drain();
        }
        ASSERT_TRUE(shown) << name;
        EXPECT_EQ(shown->text, "Quarantine removed successfully") << name;
        EXPECT_FALSE(std::filesystem::exists(temporary.path() / "pwned"));
    }

    ASSERT_TRUE(home.setAdminPromptApproves(false));
    std::optional<UnquarantineMessage> shown;
    unquarantine(services, "/tmp", [&](UnquarantineMessage message) { shown = message; });
    for (int i = 0; i < 500 && !shown; ++i) {
        std::this_thread::sleep_for(5ms);
        queue.drain();
    }
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, "Failed: User canceled.");
    EXPECT_EQ(shown->symbol, "xmark.circle.fill");
}

}  // namespace
}  // namespace quorvane::system

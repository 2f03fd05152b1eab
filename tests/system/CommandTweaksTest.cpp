#include <fstream>
#include <thread>

#include "system/UnquarantineTask.hpp"
#include "system/SystemFixture.hpp"

namespace quorvane::system {
namespace {

using namespace std::chrono_literals;

// The one-shot command tweaks on the simulated Mac, from the catalogue to
// the journal, with real shell commands.
struct CommandTweaksTest : testing::SystemFixture {
    void SetUp() override { build(); }

    std::optional<UnquarantineMessage> unquarantineAndWait(const std::string& path) {
        std::optional<UnquarantineMessage> shown;
        unquarantine(services, path, [&](UnquarantineMessage message) { shown = message; });
        for (int i = 0; i < 1000 && !shown; ++i) {
            std::this_thread::sleep_for(5ms);
            queue.drain();
        }
        return shown;
    }
};

TEST_F(CommandTweaksTest, eachTweakDoesItsOneThingAndTheJournalSaysSo) {
    pasteboard.setString("secret");
    (void)tweak("ClearClipboardTask")->run();
    EXPECT_FALSE(pasteboard.string());
    (void)tweak("LaunchScreenSaverTask")->run();
    EXPECT_EQ(workspace.runningApplications(), std::vector<std::string>{"ScreenSaverEngine"});
    (void)tweak("EjectDisksTask")->run();
    (void)tweak("EmptyTrashTask")->run();
    (void)tweak("ResetAppleEventsTask")->run();
    settle();

    const auto sources = scripting.sources();
    auto ran = [&](const std::string& source) {
        return std::find(sources.begin(), sources.end(), source) != sources.end();
    };
    EXPECT_TRUE(ran(
        "tell application \"Finder\"\n    eject (every disk whose ejectable is true)\nend tell"));
    EXPECT_TRUE(
        ran("tell application \"Finder\"\n    set warns before emptying of trash to false\n"
            "    empty trash\nend tell"));
    EXPECT_TRUE(
        ran("do shell script \"sudo tccutil reset AppleEvents com.tarnvell.Quorvane\"with "
            "administrator privileges"));
    const auto lines = journalLines();
    EXPECT_EQ(lines[0], "ClearClipboardTask pasteboard cleared");
    EXPECT_EQ(lines[1], "LaunchScreenSaverTask launch application ScreenSaverEngine");
    auto journaled = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(
        journaled("ResetAppleEventsTask command as administrator sudo tccutil reset AppleEvents "
                  "com.tarnvell.Quorvane"));
    EXPECT_TRUE(journaled("SimulatedMac admin prompt approved"));
}

TEST_F(CommandTweaksTest, restoringXcodeDefaultsMovesItsPreferencesAside) {
    // Written by the simulated Mac's own defaults, as a Mac would.
    ASSERT_TRUE(realShell.run("defaults write com.apple.dt.xcode IDEIndexDisable -bool true"));
    const auto plist = home.homeDirectory() / "Library/Preferences/com.apple.dt.xcode.plist";
    ASSERT_TRUE(std::filesystem::exists(plist));
    (void)tweak("RestoreXcodeDefaultTask")->run();
    settle();
    EXPECT_FALSE(std::filesystem::exists(plist));
    EXPECT_TRUE(std::filesystem::exists(home.homeDirectory() / "Desktop/XcodeDefaults.plist"));
    EXPECT_FALSE(realShell.run("defaults read com.apple.dt.xcode IDEIndexDisable"));
    // The restart runs beside the commands, in no fixed order with them.
    const auto lines = journalLines();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "RestoreXcodeDefaultTask restart Xcode restarted"),
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
        auto shown = unquarantineAndWait(path.string());
        ASSERT_TRUE(shown) << name;
        EXPECT_EQ(shown->text, "Quarantine removed successfully") << name;
        EXPECT_FALSE(std::filesystem::exists(temporary.path() / "pwned"));
    }

    ASSERT_TRUE(home.setAdminPromptApproves(false));
    auto shown = unquarantineAndWait("/tmp");
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, "Failed: User canceled.");
    EXPECT_EQ(shown->symbol, "xmark.circle.fill");
}

}  // namespace
}  // namespace quorvane::system

namespace quorvane::system {
namespace {

// While an administrator prompt is open, the other command tweaks go on.
TEST_F(CommandTweaksTest, anOpenAdministratorPromptHoldsBackNoOtherCommand) {
    std::promise<void> answered;
    runner.executor().submit([&] { answered.get_future().wait(); });  // the prompt, open
    std::optional<UnquarantineMessage> shown;
    unquarantine(services, "/tmp", [&](UnquarantineMessage message) { shown = message; });
    std::promise<void> ran;
    commands.submit([&] { ran.set_value(); });
    EXPECT_EQ(ran.get_future().wait_for(2s), std::future_status::ready);
    answered.set_value();
    for (int i = 0; i < 1000 && !shown; ++i) {
        std::this_thread::sleep_for(5ms);
        queue.drain();
    }
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace quorvane::system

namespace quorvane::system {
namespace {

// A refused System Events script asks for the permission instead of only
// failing.
TEST_F(CommandTweaksTest, aScriptRefusedForWantOfAccessibilityAsksForIt) {
    ASSERT_TRUE(home.setGranted(platform::Permission::accessibility, false));
    auto typed = runner.runAppleScript(typeInTerminalSource("ls"), "test").get();
    ASSERT_FALSE(typed.ok());
    runner.handleScriptError(*typed.error);
    queue.drain();
    EXPECT_EQ(permissions.asked,
              std::vector<platform::Permission>{platform::Permission::accessibility});
}

}  // namespace
}  // namespace quorvane::system

#include <gtest/gtest.h>

#include "platform/Quoting.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/posix/PosixShellRunner.hpp"
#include "simmac/PreferenceDomains.hpp"
#include "simmac/SimScripting.hpp"
#include "simmac/SimSoundVolume.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::sim {
namespace {

struct SimScriptingTest : ::testing::Test {
    testing::TemporaryDirectory temporary;
    SimHome home{temporary.path() / "sim"};
    memory::MemoryJournal journal;
    SimSoundVolume volume{home.root(), &journal};
    std::unique_ptr<posix::PosixShellRunner> shell;
    std::unique_ptr<SimScripting> scripting;

    void SetUp() override {
        ASSERT_TRUE(home.prepare());
        shell = std::make_unique<posix::PosixShellRunner>(home.commandEnvironment());
        scripting = std::make_unique<SimScripting>(*shell, home, journal, volume);
    }
};

TEST_F(SimScriptingTest, shellScriptsRunForRealWithTheSimulatedHomeAndTools) {
    auto outcome =
        scripting->execute("do shell script \"echo $HOME; killall Dock && echo restarted\"");
    ASSERT_TRUE(outcome.result);
    EXPECT_EQ(*outcome.result, home.homeDirectory().string() + "\nrestarted");

    auto failed = scripting->execute("do shell script \"ls /nonexistent\"");
    EXPECT_FALSE(failed.result);
    EXPECT_NE(
        std::get<std::string>(failed.errorInfo.at("NSAppleScriptErrorMessage")).find("nonexistent"),
        std::string::npos);
    EXPECT_EQ(scripting->sources().size(), 2u);
}

// The running program asks the engine something at every `list` request:
// what it keeps of that must not grow with the program's age.
TEST_F(SimScriptingTest, keepsOnlyTheLatestSources) {
    for (int i = 0; i < 2000; ++i)
        (void)scripting->execute("get " + std::to_string(i));
    const auto sources = scripting->sources();
    EXPECT_LE(sources.size(), 256u);
    ASSERT_FALSE(sources.empty());
    EXPECT_EQ(sources.back(), "get 1999");
    EXPECT_EQ(sources.front(), "get " + std::to_string(2000 - sources.size()));
}

TEST_F(SimScriptingTest, theAdministratorPromptAnswersAsTheSimulatedMacIsSet) {
    const std::string source = "do shell script \"whoami\"with administrator privileges";
    EXPECT_TRUE(scripting->execute(source).result);
    ASSERT_TRUE(home.setAdminPromptApproves(false));
    auto cancelled = scripting->execute(source);
    EXPECT_FALSE(cancelled.result);
    EXPECT_EQ(std::get<std::string>(cancelled.errorInfo.at("NSAppleScriptErrorMessage")),
              "User canceled.");
    EXPECT_EQ(std::get<std::int64_t>(cancelled.errorInfo.at("NSAppleScriptErrorNumber")), -128);
    EXPECT_EQ(journal.lines().back(), "SimulatedMac admin prompt cancelled");
}

TEST_F(SimScriptingTest, volumeSettingsReadAndSetTheSimulatedVolumes) {
    EXPECT_EQ(scripting->execute("output volume of (get volume settings)").result, "50");
    EXPECT_TRUE(scripting->execute("set volume input volume 35").errorInfo.empty());
    EXPECT_TRUE(scripting->execute("set volume output volume 140").errorInfo.empty());
    EXPECT_EQ(scripting->execute("input volume of (get volume settings)").result, "35");
    EXPECT_EQ(volume.volume(SoundVolume::Channel::output), 100);  // clamped, as on a Mac
    EXPECT_EQ(journal.lines().back(), "SimulatedMac volume output 100");
    // Not a volume statement: compiled and run like any other source.
    EXPECT_FALSE(scripting->execute("set volume output volume loud").result);
    EXPECT_EQ(volume.volume(SoundVolume::Channel::output), 100);
}

TEST_F(SimScriptingTest, theMenuBarsAutohideIsAGlobalPreferenceWithoutAccessibility) {
    const std::string set = "    tell application \"System Events\"\n"
                            "        tell dock preferences to set autohide menu bar to true\n"
                            "    end tell";
    const std::string get = "    tell application \"System Events\"\n"
                            "        tell dock preferences to get autohide menu bar\n"
                            "    end tell";
    EXPECT_EQ(scripting->execute(get).result, "false");
    EXPECT_TRUE(scripting->execute(set).errorInfo.empty());
    EXPECT_EQ(scripting->execute(get).result, "true");
    const auto global =
        domains::load(domains::fileOf(home.homeDirectory(), "NSGlobalDomain", false));
    ASSERT_TRUE(global);
    EXPECT_EQ((*global)["_HIHideMenuBar"], true);
}

TEST_F(SimScriptingTest, otherSourcesAnswerFromTheTableOrFailToCompile) {
    auto broken = scripting->execute("tell application \"Finder\"\n    empty trash\n");
    EXPECT_TRUE(broken.errorInfo.contains("NSAppleScriptErrorMessage"));
    EXPECT_TRUE(scripting->execute("tell application \"Finder\" to activate").errorInfo.empty());
    EXPECT_FALSE(scripting->execute("beep").result);  // runs, gives nothing back
}

TEST_F(SimScriptingTest, escapedCommandsReachTheShellExactly) {
    const std::string hostile = "say \"hi\" \\ $(id) 'q'";
    auto outcome = scripting->execute(
        "do shell script \"" + appleScriptEscape("printf '%s' " + shellQuote(hostile)) + "\"");
    ASSERT_TRUE(outcome.result);
    EXPECT_EQ(*outcome.result, hostile);
}

}  // namespace
}  // namespace quorvane::platform::sim

namespace quorvane::platform::sim {
namespace {

TEST_F(SimScriptingTest, withoutAccessibilitySystemEventsRefusesTypingAndInterfaceScripting) {
    const std::string typing = "tell application \"System Events\" to keystroke \"k\"";
    const std::string clicking =
        "tell application \"System Events\" to click menu bar item 1 of menu bar 1 of process "
        "\"Finder\"";
    EXPECT_TRUE(scripting->execute(typing).errorInfo.empty());
    ASSERT_TRUE(home.setGranted(Permission::accessibility, false));
    auto typed = scripting->execute(typing);
    EXPECT_EQ(typed.errorInfo["NSAppleScriptErrorNumber"], ScriptErrorValue{std::int64_t{1002}});
    auto clicked = scripting->execute(clicking);
    EXPECT_EQ(clicked.errorInfo["NSAppleScriptErrorNumber"], ScriptErrorValue{std::int64_t{-1719}});
    EXPECT_EQ(clicked.errorInfo["NSAppleScriptErrorMessage"],
              ScriptErrorValue{std::string(
                  "System Events got an error: Quorvane is not allowed assistive access.")});
    // Scripts that do not drive other applications' interface still run.
    EXPECT_TRUE(scripting->execute("do shell script \"true\"").result);
}

}  // namespace
}  // namespace quorvane::platform::sim

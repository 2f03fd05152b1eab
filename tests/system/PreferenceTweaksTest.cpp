#include <fstream>

#include "core/CanToggle.hpp"
#include "system/LocationSetterTask.hpp"
#include "system/PreferenceTweaks.hpp"
#include "system/SystemFixture.hpp"

namespace quorvane::system {
namespace {

using Commands = std::vector<std::string>;

// What switching each toggle on and then off runs, exactly, and which
// process restarts after a run.
struct Expected {
    const char* id;
    Commands on;
    Commands off;
    const char* restart;
};

Commands boolWrite(const std::string& domainKey, bool on) {
    return {"defaults  write " + domainKey + (on ? " -bool true" : " -bool false")};
}

std::vector<Expected> expectations() {
    auto flag = [](const char* id, const std::string& domainKey, const char* restart) {
        return Expected{id, boolWrite(domainKey, true), boolWrite(domainKey, false), restart};
    };
    return {
        flag("ToggleDesktopIconsTask", "com.apple.finder CreateDesktop", "Finder"),
        {"ToggleDesktopWidgetTask",
         {"defaults  write com.apple.WindowManager StandardHideWidgets -int 0",
          "defaults  write com.apple.WindowManager StageManagerHideWidgets -int 0"},
         {"defaults  write com.apple.WindowManager StandardHideWidgets -int 1",
          "defaults  write com.apple.WindowManager StageManagerHideWidgets -int 1"},
         ""},
        flag("QuitFinderTask", "com.apple.finder QuitMenuItem", "Finder"),
        flag("ShowHiddenFilesTask", "com.apple.finder AppleShowAllFiles", "Finder"),
        flag("ShowFullPathTask", "com.apple.finder _FXShowPosixPathInTitle", "Finder"),
        flag("ShowFileExtensionTask", "com.apple.finder AppleShowAllExtensions", "Finder"),
        flag("EnableSingleAppModeTask", "com.apple.dock single-app", "Dock"),
        {"UseSuckEffectTask",
         {"defaults  write com.apple.dock mineffect suck"},
         {"defaults  write com.apple.dock mineffect geni"},
         "Dock"},
        flag("HighlightHiddenAppTask", "com.apple.dock showhidden", "Dock"),
        flag("UseDockScrollGestureTask", "com.apple.dock scroll-to-open", "Dock"),
        flag("RearrangeAutomaticallyTask", "com.apple.dock mru-space", "Dock"),
        flag("AutoHideDockTask", "com.apple.dock autohide", "Dock"),
        {"RemoveAutohideDelayTask",
         {"defaults  write com.apple.dock autohide-delay -float 0.01"},
         {"defaults  write com.apple.dock autohide-delay -float 1.0"},
         "Dock"},
        {"RemoveAutohideAnimationTimeTask",
         {"defaults  write com.apple.dock autohide-time-modifier -float 0.01"},
         {"defaults  write com.apple.dock autohide-time-modifier -float 1.0"},
         "Dock"},
        flag("ShowRecentAppsDockTask", "com.apple.dock show-recents", "Dock"),
        flag("LockDockSizeTask", "com.apple.dock size-immutable", "Dock"),
        flag("FlashClockSeparatorTask", "com.apple.menuextra.clock FlashDateSeparators",
             "SystemUIServer"),
        {"StopPhotosTask",
         {"defaults -currentHost write com.apple.ImageCapture disableHotPlug -bool true"},
         {"defaults -currentHost write com.apple.ImageCapture disableHotPlug -bool false"},
         ""},
        flag("DisableScreenshotShadowTask", "com.apple.screencapture disable-shadow", ""),
        flag("ToggleStageManagerTask", "com.apple.WindowManager GloballyEnabled", ""),
        flag("ShowProjectBuildTimeTask", "com.apple.dt.xcode ShowBuildOperationDuration", ""),
        flag("DisableReopenLastProjectTask", "com.apple.dt.xcode ApplePersistenceIgnoreState", ""),
        flag("DisableStateRestorationTask", "com.apple.dt.xcode IDEDisableStateRestoration", ""),
        flag("DisableSyncFileStructureTask",
             "com.apple.dt.xcode IDEDisableStructureEditingCoordinator", ""),
        flag("DisableIndexingTask", "com.apple.dt.xcode IDEIndexDisable", ""),
        flag("DisableMainThreadCheckerTask", "com.apple.dt.xcode DVTDisableMainThreadChecker", ""),
        flag("EnableActivityLogsTask", "com.apple.dt.XCBuild EnableDebugActivityLogs", ""),
        flag("ShowPrebuildLogsTask", "com.apple.dt.xcode IDEShowPrebuildLogs", ""),
        flag("EnableBuildDebuggingTask", "com.apple.dt.XCBuild EnableBuildDebugging", ""),
        flag("EnableSwiftBuildSystemTask", "com.apple.dt.xcode EnableSwiftBuildSystemIntegration",
             ""),
    };
}

struct PreferenceTweaksTest : testing::SystemFixture {
    std::vector<std::string> restarts() {
        std::vector<std::string> killed;
        for (const auto& source : scripting.sources())
            if (source.starts_with("do shell script \"killall "))
                killed.push_back(source.substr(25, source.size() - 26));
        return killed;
    }
    void switchTo(const std::string& id, bool on) {
        auto toggle = tweak(id);
        core::asToggle(*toggle)->setOn(on);
        (void)toggle->run();
        settle();
    }
    bool isOn(const std::string& id) { return core::asToggle(*tweak(id))->isOn(); }
};

TEST_F(PreferenceTweaksTest, switchingEachToggleRunsExactlyItsCommands) {
    build(true);
    const auto all = expectations();
    ASSERT_EQ(all.size(), preferenceToggles().size());
    for (const auto& expected : all) {
        SCOPED_TRACE(expected.id);
        const auto& row =
            *std::find_if(preferenceToggles().begin(), preferenceToggles().end(),
                          [&](const PreferenceToggle& t) { return t.id == expected.id; });
        Commands reads;
        if (row.refreshAfterRun)
            reads.push_back(
                row.defaults.readCommand(row.value == PreferenceValue::boolean      ? "-bool"
                                         : row.value == PreferenceValue::hiddenInt  ? "-int"
                                         : row.value == PreferenceValue::smallFloat ? "-float"
                                                                                    : ""));
        for (bool on : {true, false}) {
            const auto before = restarts().size();
            switchTo(expected.id, on);
            Commands want = on ? expected.on : expected.off;
            want.insert(want.end(), reads.begin(), reads.end());
            EXPECT_EQ(recordingShell.commands(), want);
            const auto killed = restarts();
            if (*expected.restart)
                EXPECT_EQ(killed.back(), expected.restart);
            else
                EXPECT_EQ(killed.size(), before);
        }
    }
}

TEST_F(PreferenceTweaksTest, refreshReadsTheSystemBackIntoTheSwitch) {
    build(true);
    auto refreshed = [&](const std::string& id, const std::string& command,
                         platform::Result<std::string> answer) {
        recordingShell.answers.clear();
        recordingShell.answers.emplace(command, std::move(answer));
        tweak(id)->refresh();
        settle();
        recordingShell.commands();
        return isOn(id);
    };
    const std::string autohide = "defaults  read com.apple.dock autohide -bool";
    EXPECT_TRUE(refreshed("AutoHideDockTask", autohide, std::string("1")));
    EXPECT_TRUE(refreshed("AutoHideDockTask", autohide, std::string("YES")));
    EXPECT_FALSE(refreshed("AutoHideDockTask", autohide, std::string("0")));
    EXPECT_TRUE(refreshed("AutoHideDockTask", autohide, std::string("true")));
    EXPECT_FALSE(refreshed("AutoHideDockTask", autohide, std::string("")));
    EXPECT_TRUE(refreshed("AutoHideDockTask", autohide, std::string("1")));
    EXPECT_FALSE(refreshed("AutoHideDockTask", autohide, platform::Error{"does not exist"}));
    EXPECT_TRUE(log.contains(autohide));

    const std::string delay = "defaults  read com.apple.dock autohide-delay -float";
    EXPECT_TRUE(refreshed("RemoveAutohideDelayTask", delay, std::string("0.01")));
    EXPECT_FALSE(refreshed("RemoveAutohideDelayTask", delay, std::string("1")));
    EXPECT_FALSE(refreshed("RemoveAutohideDelayTask", delay, std::string("0.5")));
    EXPECT_TRUE(refreshed("RemoveAutohideDelayTask", delay, platform::Error{"does not exist"}));

    const std::string widgets = "defaults  read com.apple.WindowManager StandardHideWidgets -int";
    EXPECT_FALSE(refreshed("ToggleDesktopWidgetTask", widgets, std::string("1")));
    EXPECT_TRUE(refreshed("ToggleDesktopWidgetTask", widgets, std::string("0")));
    EXPECT_TRUE(refreshed("UseSuckEffectTask", "defaults  read com.apple.dock mineffect",
                          std::string("suck")));
    EXPECT_FALSE(refreshed("UseSuckEffectTask", "defaults  read com.apple.dock mineffect",
                           std::string("genie")));
}

TEST_F(PreferenceTweaksTest, eachResetVariantDoesWhatItSays) {
    build(true);
    auto resetWith = [&](const std::string& id) {
        core::asToggle(*tweak(id))->setOn(true);
        tweak(id)->reset();
        settle();
        return recordingShell.commands();
    };
    // clearThenRestart: off at once, the key deleted (only the first of two), the process restarted.
    EXPECT_EQ(resetWith("ToggleDesktopWidgetTask"),
              Commands{"defaults delete com.apple.WindowManager StandardHideWidgets"});
    EXPECT_FALSE(isOn("ToggleDesktopWidgetTask"));
    EXPECT_EQ(resetWith("ToggleDesktopIconsTask"),
              Commands{"defaults delete com.apple.finder CreateDesktop"});
    EXPECT_EQ(restarts().back(), "Finder");
    // restartThenRefresh: deleted, restarted, then read back (a missing key reads as off).
    EXPECT_EQ(resetWith("QuitFinderTask"),
              (Commands{"defaults delete com.apple.finder QuitMenuItem",
                        "defaults  read com.apple.finder QuitMenuItem -bool"}));
    EXPECT_FALSE(isOn("QuitFinderTask"));
    // restartOnly: deleted and restarted; the switch is left as it was.
    EXPECT_EQ(resetWith("RemoveAutohideAnimationTimeTask"),
              Commands{"defaults delete com.apple.dock autohide-time-modifier"});
    EXPECT_TRUE(isOn("RemoveAutohideAnimationTimeTask"));
    // No reset at all.
    EXPECT_TRUE(resetWith("StopPhotosTask").empty());
}

TEST_F(PreferenceTweaksTest, autoHideDockEndToEndOnTheSimulatedMac) {
    build();
    switchTo("AutoHideDockTask", true);
    EXPECT_EQ(realShell.run("defaults read com.apple.dock autohide").value(), "1");
    const auto lines = journalLines();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  "AutoHideDockTask preference defaults  write com.apple.dock autohide -bool true"),
        lines.end());
    EXPECT_EQ(lines.back(), "AutoHideDockTask restart Dock restarted");
    tweak("AutoHideDockTask")->refresh();
    settle();
    EXPECT_TRUE(isOn("AutoHideDockTask"));
}

TEST_F(PreferenceTweaksTest, resetDockEmptiesTheDomainAndRefreshesTheDockTweaks) {
    build();
    switchTo("AutoHideDockTask", true);
    (void)tweak("InsertDockSpacerTask")->run();
    settle();
    EXPECT_NE(
        realShell.run("defaults read com.apple.dock persistent-apps").value().find("spacer-tile"),
        std::string::npos);
    (void)tweak("ResetDockTask")->run();
    settle();
    EXPECT_FALSE(realShell.run("defaults read com.apple.dock"));
    EXPECT_EQ(refreshedCategories, std::vector<core::Category>{core::Category::dock});
    EXPECT_EQ(restarts().back(), "Dock");
}

TEST_F(PreferenceTweaksTest, keepDockPositionWritesBackWhatItReads) {
    build();
    ASSERT_TRUE(realShell.run("defaults write com.apple.dock orientation left"));
    (void)tweak("KeepDockPositionTask")->run();
    settle();
    EXPECT_EQ(realShell.run("defaults read com.apple.dock orientation").value(), "left");
    ASSERT_TRUE(realShell.run("defaults delete com.apple.dock orientation"));
    (void)tweak("KeepDockPositionTask")->run();
    settle();
    EXPECT_FALSE(
        realShell.run("defaults read com.apple.dock orientation"));  // nothing to write back
    EXPECT_EQ(restarts().back(), "Dock");

    // A stored text that looks like an option is written back as text.
    ASSERT_TRUE(realShell.run("defaults write com.apple.dock orientation -string -array-add"));
    (void)tweak("KeepDockPositionTask")->run();
    settle();
    EXPECT_EQ(realShell.run("defaults read com.apple.dock orientation").value(), "-array-add");
}

TEST_F(PreferenceTweaksTest, aScreenshotFolderIsStoredVerbatimAndRunsNothing) {
    build();
    const std::string folder = home.homeDirectory().string() + "/Shots 'new' \"x\" $(touch " +
                               temporary.path().string() + "/pwned)";
    LocationSetter setter(services, "SetScreenshotLocationTask",
                          {"", "com.apple.screencapture", "location"}, "SystemUIServer", true);
    setter.apply(folder);
    settle();
    EXPECT_EQ(realShell.run("defaults read com.apple.screencapture location").value(), folder);
    EXPECT_FALSE(std::filesystem::exists(temporary.path() / "pwned"));
    EXPECT_EQ(restarts().back(), "SystemUIServer");

    std::string shown;
    ASSERT_TRUE(realShell.run("defaults write com.apple.screencapture location '~/Pictures'"));
    setter.read([&](std::string read) { shown = read; });
    settle();
    EXPECT_EQ(shown, home.homeDirectory().string() + "/Pictures");
    setter.reset();
    settle();
    EXPECT_FALSE(realShell.run("defaults read com.apple.screencapture location"));
}

}  // namespace
}  // namespace quorvane::system

#include "core/CanToggle.hpp"
#include "adapters/posix/PulseVolume.hpp"
#include "simmac/PreferenceDomains.hpp"
#include "system/SystemFixture.hpp"
#include "system/appearance/AutoHideMenuBarTask.hpp"
#include "system/audio/MuteTask.hpp"

namespace quorvane::system {
namespace {

using Channel = platform::SoundVolume::Channel;

// The sound, Bluetooth and menu-bar toggles on the simulated Mac: its
// volumes, its controller and its global domain, through the real script
// runner.
struct DeviceTweaksTest : testing::SystemFixture {
    void SetUp() override { build(); }

    void setVolume(Channel channel, int level) { ASSERT_TRUE(volume.setVolume(channel, level)); }
    int level(Channel channel) { return volume.volume(channel).value_or(-1); }

    void switchTo(const std::string& id, bool on) {
        auto found = tweak(id);
        dynamic_cast<core::CanToggle&>(*found).setOn(on);
        (void)found->run();
        settle();
    }
    bool isOn(const std::string& id) { return dynamic_cast<core::CanToggle&>(*tweak(id)).isOn(); }
    void refresh(const std::string& id) {
        tweak(id)->refreshThen({});
        settle();
    }
};

TEST_F(DeviceTweaksTest, muteRemembersTheVolumeItTookAndPutsItBack) {
    // Unmuting without a mute this run: full volume.
    setVolume(Channel::output, 20);
    switchTo("MuteTask", false);
    EXPECT_EQ(level(Channel::output), 100);

    setVolume(Channel::output, 35);
    switchTo("MuteTask", true);
    EXPECT_EQ(level(Channel::output), 0);
    refresh("MuteTask");
    EXPECT_TRUE(isOn("MuteTask"));
    switchTo("MuteTask", true);  // "on" again while on keeps the volume to restore
    switchTo("MuteTask", false);
    EXPECT_EQ(level(Channel::output), 35);

    // Muted at 0 already: nothing worth putting back, so full volume.
    setVolume(Channel::output, 0);
    switchTo("MuteTask", true);
    switchTo("MuteTask", false);
    EXPECT_EQ(level(Channel::output), 100);

    // A mute and an unmute in one breath reach the system in that order.
    setVolume(Channel::output, 42);
    auto mute = tweak("MuteTask");
    auto& toggle = dynamic_cast<core::CanToggle&>(*mute);
    toggle.setOn(true);
    (void)mute->run();
    toggle.setOn(false);
    (void)mute->run();
    settle();
    EXPECT_EQ(level(Channel::output), 42);

    // refresh() lets the system settle for two seconds before it reads.
    setVolume(Channel::output, 0);
    mute->refresh();
    settle();
    EXPECT_FALSE(toggle.isOn());
    queue.advance(MuteTask::settleDelay);
    settle();
    EXPECT_TRUE(toggle.isOn());
}

// The configured level is the person's: unmuting goes to it, and muting from
// another level never rewrites it, in this run or the next.
TEST_F(DeviceTweaksTest, theMicrophoneUnmutesToTheConfiguredLevelAndLeavesItAlone) {
    MuteMicrophoneTask::volumeSetting.write(defaults, 30);
    setVolume(Channel::input, 80);
    switchTo("MuteMicrophoneTask", true);
    EXPECT_EQ(level(Channel::input), 0);
    refresh("MuteMicrophoneTask");
    EXPECT_TRUE(isOn("MuteMicrophoneTask"));
    switchTo("MuteMicrophoneTask", true);  // again while muted
    switchTo("MuteMicrophoneTask", false);
    EXPECT_EQ(level(Channel::input), 30);
    EXPECT_EQ(MuteMicrophoneTask::volumeSetting.read(defaults), 30);

    // A new run (a new task) unmutes to the same level.
    switchTo("MuteMicrophoneTask", true);
    core::TweakInfo info;
    info.id = "MuteMicrophoneTask";
    MuteMicrophoneTask relaunched(info, &core::MState::muteMicrophone, services, audio);
    relaunched.setOn(false);
    (void)relaunched.run();
    settle();
    EXPECT_EQ(level(Channel::input), 30);
    EXPECT_EQ(MuteMicrophoneTask::volumeSetting.read(defaults), 30);
    refresh("MuteMicrophoneTask");
    EXPECT_FALSE(isOn("MuteMicrophoneTask"));
}

TEST_F(DeviceTweaksTest, theMenuBarsScriptsAreSentAsTheyStandAndReadBack) {
    switchTo("AutoHideMenuBarTask", true);
    const auto sources = scripting.sources();
    EXPECT_NE(std::find(sources.begin(), sources.end(),
                        "    tell application \"System Events\"\n"
                        "        tell dock preferences to set autohide menu bar to true\n"
                        "    end tell"),
              sources.end());
    const auto global = platform::sim::domains::load(
        platform::sim::domains::fileOf(home.homeDirectory(), "NSGlobalDomain", false));
    ASSERT_TRUE(global);
    EXPECT_EQ((*global)["_HIHideMenuBar"], true);

    auto menuBar = tweak("AutoHideMenuBarTask");
    auto& toggle = dynamic_cast<core::CanToggle&>(*menuBar);
    toggle.setOn(false);
    refresh("AutoHideMenuBarTask");
    EXPECT_TRUE(toggle.isOn());

    // A failed read leaves the switch as it was, and says why.
    platform::ScriptOutcome refused;
    refused.errorInfo["NSAppleScriptErrorMessage"] = std::string("System Events is not running.");
    refused.errorInfo["NSAppleScriptErrorNumber"] = std::int64_t{-600};
    scripting.setCanned(autoHideMenuBarReadSource, refused);
    refresh("AutoHideMenuBarTask");
    EXPECT_TRUE(toggle.isOn());
    EXPECT_TRUE(log.contains("System Events is not running."));

    // Reset shows the menu bar again; reads are not journaled, the writes are.
    menuBar->reset();
    settle();
    EXPECT_FALSE(toggle.isOn());
    scripting.setCanned(autoHideMenuBarReadSource, {});
    for (const auto& line : journalLines())
        EXPECT_EQ(line.find("get autohide"), std::string::npos) << line;
}

TEST_F(DeviceTweaksTest, bluetoothFollowsTheControllerAndShowsARefusal) {
    switchTo("EnableBluetoothTask", false);
    EXPECT_FALSE(bluetooth.isPowered());
    switchTo("EnableBluetoothTask", true);
    EXPECT_TRUE(bluetooth.isPowered());
    EXPECT_EQ(journalLines().back(), "SimulatedMac bluetooth on");

    ASSERT_TRUE(bluetooth.force("off"));
    refresh("EnableBluetoothTask");
    EXPECT_FALSE(isOn("EnableBluetoothTask"));

    // No controller: switching on is refused, said, and the switch goes back.
    ASSERT_TRUE(bluetooth.force("none"));
    switchTo("EnableBluetoothTask", true);
    settle();
    EXPECT_FALSE(isOn("EnableBluetoothTask"));
    EXPECT_TRUE(log.contains("cannot switch Bluetooth on: this Mac has no Bluetooth controller"));
}

TEST_F(DeviceTweaksTest, darkModeRunsTheShippedScriptsAndFollowsTheSystem) {
    switchTo("ToggleDarkModeTask", true);
    const auto style = realShell.run("defaults read -g AppleInterfaceStyle");
    ASSERT_TRUE(style) << style.error().message;
    EXPECT_EQ(style.value(), "Dark");
    EXPECT_TRUE(isOn("ToggleDarkModeTask"));  // read back after the script, in turn
    const auto lines = journalLines();
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& line) {
                               return line.starts_with("ToggleDarkModeTask command osascript ") &&
                                      line.find("/toggleDarkModeOn.scpt") != std::string::npos;
                           }),
              lines.end());

    switchTo("ToggleDarkModeTask", false);
    EXPECT_FALSE(realShell.run("defaults read -g AppleInterfaceStyle"));  // light: no key
    EXPECT_FALSE(isOn("ToggleDarkModeTask"));

    // Changed by someone else: the system's notification brings the switch along.
    ASSERT_TRUE(realShell.run("defaults write -g AppleInterfaceStyle Dark"));
    EXPECT_EQ(events.post("AppleInterfaceThemeChangedNotification"), 1u);
    settle();
    EXPECT_TRUE(isOn("ToggleDarkModeTask"));
}

TEST(PulseVolume, theVolumeIsTheMeanOfTheChannelsOnTheFirstLine) {
    using platform::posix::volumeFromPactl;
    EXPECT_EQ(volumeFromPactl("Volume: front-left: 32768 /  50% / -18.06 dB,   front-right: "
                              "32768 /  50% / -18.06 dB\n        balance 0.00"),
              50);
    EXPECT_EQ(volumeFromPactl("Volume: front-left: 22938 /  35% / -27.36 dB,   front-right: "
                              "26214 /  40% / -23.88 dB"),
              38);
    EXPECT_EQ(volumeFromPactl("Volume: mono: 98304 / 150% / 10.57 dB"), 150);
    EXPECT_EQ(volumeFromPactl("Failed to get sink volume: No such entity"), std::nullopt);
    EXPECT_EQ(volumeFromPactl("\n 50%"), std::nullopt);
}

TEST_F(DeviceTweaksTest, thePickedColourReplacesThePasteboardAndCancellingLeavesIt) {
    pasteboard.setString("kept");
    ASSERT_TRUE(home.setSampledColor(std::nullopt));
    (void)tweak("ColorPickerTask")->run();
    settle();
    EXPECT_EQ(pasteboard.string(), "kept");

    ASSERT_TRUE(home.setSampledColor(platform::parseHexColor("#12AB34")));
    (void)tweak("ColorPickerTask")->run();
    settle();
    EXPECT_EQ(pasteboard.string(), "#12ab34");
    EXPECT_EQ(pasteboard.types().size(), 1u);
    bool journaled = false;
    for (const auto& line : journalLines())
        journaled |= line.find("ColorPickerTask pasteboard") != std::string::npos &&
                     line.find("#12ab34") == std::string::npos;
    EXPECT_TRUE(journaled);
}

}  // namespace
}  // namespace quorvane::system

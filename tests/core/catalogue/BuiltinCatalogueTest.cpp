#include <gtest/gtest.h>

#include <set>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"

namespace quorvane::core {
namespace {

// The catalogue as users know it: order, ids, names, descriptions, the one
// category, the state field ("-" for one-shot) and the flags C (configure),
// R (reset), X (extra panel), M (in the default workflow).
struct Expected {
    const char* id;
    const char* name;
    const char* description;
    const char* category;
    const char* state;
    const char* flags;
};

const Expected expected[] = {
    {"HideAllAppsTask", "Hide all applications", "Minimize all application windows", "window", "-",
     "M"},
    {"LaunchScreenSaverTask", "Open Screen Saver", "Launch default Screen Saver", "system", "-",
     "M"},
    {"ClearClipboardTask", "Clear clipboard", "Clear contents on system clipboard", "system", "-",
     "M"},
    {"LockScreenTask", "Lock keyboard", "Lock mouse and keyboard interaction", "keyboard",
     "lockScreen", "C"},
    {"VisualizeKeystrokeTask", "Visualize keystrokes", "Show on screen key presses", "keyboard",
     "visualizesKeystroke", "CM"},
    {"VisualizeCursorTask", "Visualize cursor", "Highlight mouse pointer", "mouse",
     "visualizeCursor", "CM"},
    {"PlainTextTask", "Plain text", "Convert copied text to plain text", "system", "-", "M"},
    {"AutoPlainTextTask", "Auto Plain text", "Automatically convert copied text to plain text",
     "system", "autoPlainText", "M"},
    {"CameraMirrorTask", "Show Live Camera", "Camera mirror", "utility", "showCamera", "C"},
    {"ConfettiTask", "Confetti", "Show confetti effect", "effect", "-", ""},
    {"PublicIpTask", "Public Ip", "Get public IP address", "utility", "-", "M"},
    {"EmojiAliasTask", "Emoji Alias", "Create emoji with Slack style alias", "utility",
     "emojiAlias", "CM"},
    {"QuitAppsTask", "Quit Apps", "Quit and restart apps", "system", "-", "X"},
    {"HideMenuBarItemsTask", "Hide menu bar items", "Declutter status icons in the system menu bar",
     "statusMenu", "hideStatusItems", "C"},
    {"NotchTask", "Simulate Notch", "Display the notch above status bar", "statusMenu",
     "showsNotch", "C"},
    {"HideNotchTask", "Hide notch", "Make the status bar black to blend in with the notch",
     "statusMenu", "hidesNotch", ""},
    {"ShowProjectBuildTimeTask", "Show project build time",
     "Show build time duration in Xcode activity viewer", "xcode", "showProjectBuildTime", "R"},
    {"RestoreXcodeDefaultTask", "Restore Xcode defaults", "Reset Xcode default configurations",
     "xcode", "-", ""},
    {"DisableReopenLastProjectTask", "Disable reopening last project",
     "Prevent Xcode from automatically restoring the last open project", "xcode",
     "disableReopenLastProject", "R"},
    {"DisableStateRestorationTask", "Disable state restoration",
     "Prevent Xcode from reopening files on launch", "xcode", "disableStateRestoration", "R"},
    {"DisableSyncFileStructureTask", "Disable file structure sync",
     "Disable automatically organizing files on disk", "xcode", "disableSyncFileStructure", "R"},
    {"DisableIndexingTask", "Disable indexing", "Prevent Xcode from indexing projects", "xcode",
     "disableIndexing", "R"},
    {"DisableMainThreadCheckerTask", "Disable Main thread checker",
     "Prevent Xcode from checking invalid UI usage on background thread", "xcode",
     "disableMainThreadChecker", "R"},
    {"EnableActivityLogsTask", "Enable activity logs",
     "Show additional diagnostic info in the build log", "xcode", "enableActivityLogs", "R"},
    {"ShowPrebuildLogsTask", "Show prebuild logs", "Show logs for prebuilding projects", "xcode",
     "showPrebuildLogs", "R"},
    {"EnableBuildDebuggingTask", "Enable build debugging", "Capture debugging trace", "xcode",
     "enableBuildDebugging", "R"},
    {"EnableSwiftBuildSystemTask", "Enable Swift Build System",
     "New Swift build system integration", "xcode", "enableSwiftBuildSystemIntegration", "R"},
    {"KeepMacAwakeTask", "Keep Mac Awake", "Prevent computer from idle sleeping", "system",
     "keepMacAwake", "CM"},
    {"ColorPickerTask", "Color Picker", "Pick color", "system", "-", ""},
    {"ExpandLinkTask", "Expand Link", "Expand shortened URL", "utility", "-", "C"},
    {"ExtractTextTask", "Extract Text", "Read text from images", "utility", "-", ""},
    {"EmojiPickerTask", "Emoji Picker", "Pick emoji from menu bar", "utility", "emojiPicker", "M"},
    {"AutoClickTask", "Auto Click", "Auto trigger mouse click", "mouse", "autoClick", "C"},
    {"AutoScrollTask", "Auto Scroll", "Auto mouse scroll", "mouse", "-", "C"},
    {"ReverseScrollTask", "Reverse mouse scroll", "Reverse mouse scrolling direction", "mouse",
     "reverseMouseScrolling", "C"},
    {"ToggleStageManagerTask", "Stage Manager", "Toggle stage manager", "system",
     "enableStageManager", ""},
    {"HideOtherWindowsTask", "Hide Other Windows", "Hide all except active window", "window", "-",
     ""},
    {"FocusFrontmostAppTask", "Focus Frontmost App", "Show only frontmost app and minimize others",
     "window", "focusOneApp", ""},
    {"AeroShakeTask", "Aero Shake", "Shake to hide other windows", "window", "_aeroShake", ""},
    {"ShowDesktopTask", "Show Desktop", "Hide all windows to show desktop", "window", "-", ""},
    {"DimTask", "Dim", "Dim your screens", "display", "dim", "C"},
    {"HighlightActiveWindowTask", "Highlight Active Window", "Dim inactive app windows", "window",
     "highlightsActiveWindow", "CM"},
    {"BlackOutTask", "Black out", "Turn the screen black", "display", "blackOuts", "C"},
    {"DefaultBrowserTweak", "Default Browser", "Change your default web browser", "browser", "-",
     "X"},
    {"OpenInBrowserTweak", "Open in Browser", "Open links from clipboard in your preferred browser",
     "browser", "-", "X"},
    {"HideCursorTask", "Hide cursor", "Hide cursor", "mouse", "-", ""},
    {"MouseJigglerTask", "Mouse Jiggler", "Jiggle mouse to keep awake", "mouse", "mouseJiggler",
     "C"},
    {"IncreaseBrightnessTask", "Increase Brightness", "Unlock peak extra HDR brightness", "display",
     "extraBrightness", "C"},
    {"ArrangeDisplaysTask", "Arrange displays", "Arrange external displays", "display", "-", "C"},
    {"MirrorDisplayTask", "Mirror Display", "Enable Display Mirroring", "display", "mirrorDisplay",
     ""},
    {"DisableScreenshotShadowTask", "Disable Screenshot shadow",
     "Disable screenshot shadow when capturing an app", "screenshot", "disableScreenshotShadow",
     "M"},
    {"SetScreenshotLocationTask", "Set screenshot location", "Set default location for screenshots",
     "screenshot", "-", "C"},
    {"StopPhotosTask", "Stop Photos", "Stop Photos from opening automatically", "photos",
     "stopsPhotos", ""},
    {"SetSimulatorScreenshotLocationTask", "Set screenshot location",
     "Set default location for Simulator screenshots", "simulator", "-", "C"},
    {"RainTask", "Rain", "Rain effect", "effect", "rain", ""},
    {"SnowTask", "Snow", "Snow effect", "effect", "snow", ""},
    {"FireworkTask", "Firework", "Show firework effect", "effect", "firework", ""},
    {"KeyboardSpellingLanguageTask", "Spelling Language", "Change keyboard input spelling language",
     "keyboard", "-", "CX"},
    {"ToggleDesktopIconsTask", "Show Desktop icons", "Show or hide icons on Desktop", "desktop",
     "showDesktopIcon", "RM"},
    {"ToggleDesktopWidgetTask", "Toggle Desktop Widgets", "Show or hide widgets on Desktop",
     "desktop", "showDesktopWidget", "RM"},
    {"QuitFinderTask", "Add Quit option", "Add a Quit option to Finder menu", "finder",
     "quitFinder", "R"},
    {"ShowHiddenFilesTask", "Show hidden files", "Show or hide hidden files in Finder", "finder",
     "showHiddenFile", "R"},
    {"ShowFullPathTask", "Show file full path", "Display full file path in Finder title bar",
     "finder", "showFullPath", ""},
    {"ShowFileExtensionTask", "Show file extension", "Show all file extensions in Finder", "finder",
     "showFileExtension", "R"},
    {"FinderContextMenuTask", "Finder Context Menu",
     "Add quick actions to Finder's right-click menu", "finder", "(own)", "C"},
    {"InsertDockSpacerTask", "Insert Spacer to Dock", "Add a Spacer to the apps side of the Dock",
     "dock", "-", ""},
    {"EnableSingleAppModeTask", "Enable single app mode", "Show one application at a time", "dock",
     "enableSingleAppMode", "R"},
    {"ResetDockTask", "Reset Dock", "Reset Dock to default settings", "dock", "-", ""},
    {"UseSuckEffectTask", "Use suck minimize effect", "Halfway between genie and scale effect",
     "dock", "useSuckEffect", ""},
    {"HighlightHiddenAppTask", "Highlight hidden apps", "Show hidden app icon as semi-transparent",
     "dock", "highlightHiddenApps", "R"},
    {"UseDockScrollGestureTask", "Use scroll gesture",
     "Allow upward scrolling gesture to open window stack", "dock", "useDockScrollGesture", "R"},
    {"RearrangeAutomaticallyTask", "Rearrange automatically",
     "Sort opened windows and desktops by recent use", "system", "rearrangeAutomatically", "R"},
    {"KeepDockPositionTask", "Keep Dock Position", "Reposition Dock back to primary display",
     "dock", "-", ""},
    {"AutoHideDockTask", "Auto Hide Dock", "Automatically hide and show the Dock", "dock",
     "autoHideDock", "R"},
    {"ResetLaunchPad", "Reset LaunchPad", "Reset LaunchPad apps order", "dock", "-", ""},
    {"RemoveAutohideDelayTask", "Remove Auto Hide delay", "Make Dock show and hide instantly",
     "dock", "removeAutohideDelay", "R"},
    {"RemoveAutohideAnimationTimeTask", "Remove Autohide animation time",
     "Change the Dock opening and closing animation times.", "dock", "removeAutohideAnimationTime",
     "R"},
    {"ShowRecentAppsDockTask", "Show Recent Apps in Dock", "Show recent applications in Dock",
     "dock", "showRecentApps", "R"},
    {"PreviewDockWindowTask", "Preview Dock Window", "Hover preview application windows in Dock",
     "dock", "previewsDockWindows", "C"},
    {"EnableBluetoothTask", "Bluetooth", "Turn on and off Bluetooth", "system", "enableBluetooth",
     ""},
    {"ClickToHideTask", "Click to hide", "Click on Dock icon to minimize app", "dock",
     "_clickToHide", ""},
    {"LockDockSizeTask", "Lock Dock Size", "Lock the Dock resize", "dock", "lockDockSize", "R"},
    {"FlashClockSeparatorTask", "Flash time separator",
     "Flash the clock time colon separator every second", "statusMenu", "flashClockSeparator", "R"},
    {"AutoHideMenuBarTask", "Auto Hide Menu Bar", "Toggle automatically hide and show the menu bar",
     "statusMenu", "autoHideMenuBar", "R"},
    {"ToggleDarkModeTask", "Dark Mode", "Switch between dark and light mode", "system",
     "enableDarkMode", "M"},
    {"EjectDisksTask", "Eject Disks", "Eject every disk", "system", "-", ""},
    {"EmptyTrashTask", "Empty Trash", "Empty the trash bin", "system", "-", ""},
    {"ScheduleShutdownTask", "Schedule shutdown", "Set a timer to shutdown, restart or sleep",
     "system", "scheduleShutdown", "C"},
    {"ResetAppleEventsTask", "Reset Apple Events", "Reset ", "system", "-", ""},
    {"MuteTask", "Mute", "Mute sound output", "system", "muteSound", ""},
    {"SnapWindowsTask", "Snap Windows", "Move and resize windows", "window", "snapsWindows", "M"},
    {"MuteMicrophoneTask", "Mute Microphone", "Mute microphone input", "system", "muteMicrophone",
     ""},
    {"LowPowerModeTask", "Low Power Mode", "Toggle Low Power Mode", "system", "lowPowerMode", ""},
    {"EnergySaverTask", "Energy Saver", "Schedule wake, sleep, shutdown time", "system",
     "energySaver", "C"},
    {"UnquarantineTask", "Unquarantine", "Remove quarantine attribute from downloaded files",
     "system", "-", "C"},
    {"ViewShortcutTask", "View Shortcuts", "View keyboard shortcuts in active app", "keyboard", "-",
     ""},
    {"EnableStandardFKeyTask", "Enable standard F Key Mode",
     "Flip between media and standard Fn keys", "keyboard", "enableStandardFKey", ""},
    {"MechanicalKeyboardTask", "Mechanical Keyboard", "Simulate mechanical keyboard sound",
     "keyboard", "_mechanicalKeyboardSound", ""},
};

std::string flagsOf(const TweakInfo& info) {
    std::string flags;
    if (info.hasMoreConfigure)
        flags += 'C';
    if (info.canReset)
        flags += 'R';
    if (info.hasExtra)
        flags += 'X';
    if (info.shouldMenuBar)
        flags += 'M';
    return flags;
}

std::string categoryCase(Category category) {
    std::string raw(rawValue(category));
    std::erase(raw, ' ');
    raw[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(raw[0])));
    return raw;
}

TEST(BuiltinCatalogue, holdsEveryTweakInOrderWithItsTextsStateAndFlags) {
    const auto& rows = builtinCatalogue();
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        const auto& want = expected[i];
        SCOPED_TRACE(want.id);
        EXPECT_EQ(row.info.id, want.id);
        EXPECT_EQ(row.info.name, want.name);
        EXPECT_EQ(row.info.description, want.description);
        ASSERT_EQ(row.info.categories.size(), 1u);
        EXPECT_EQ(categoryCase(row.info.categories[0]), want.category);
        const std::string_view field = stateFieldName(row.state);
        if (std::holds_alternative<OneShot>(row.state))
            EXPECT_STREQ(want.state, "-");
        else if (std::holds_alternative<OwnState>(row.state))
            EXPECT_STREQ(want.state, "(own)");
        else
            EXPECT_EQ(field, want.state);
        EXPECT_EQ(flagsOf(row.info), want.flags);
        EXPECT_FALSE(row.info.icon.empty());
    }
    // An id names one tweak: a second row with it would never be found, and
    // the golden table above would list it without noticing.
    std::set<std::string> ids;
    for (const auto& row : rows)
        EXPECT_TRUE(ids.insert(row.info.id).second) << "a second row for " << row.info.id;
}

TEST(BuiltinCatalogue, fillsTheDefaultWorkflowWithTheseTweaksInOrder) {
    std::vector<std::string> menuBar;
    for (const auto& row : builtinCatalogue())
        if (row.info.shouldMenuBar)
            menuBar.push_back(row.info.id);
    EXPECT_EQ(menuBar, (std::vector<std::string>{
                           "HideAllAppsTask", "LaunchScreenSaverTask", "ClearClipboardTask",
                           "VisualizeKeystrokeTask", "VisualizeCursorTask", "PlainTextTask",
                           "AutoPlainTextTask", "PublicIpTask", "EmojiAliasTask",
                           "KeepMacAwakeTask", "EmojiPickerTask", "HighlightActiveWindowTask",
                           "DisableScreenshotShadowTask", "ToggleDesktopIconsTask",
                           "ToggleDesktopWidgetTask", "ToggleDarkModeTask", "SnapWindowsTask"}));
}

TEST(BuiltinCatalogue, documentationLinksAndTextsThatAreEasyToGetWrong) {
    std::map<std::string, const CatalogueRow*> byId;
    for (const auto& row : builtinCatalogue())
        byId[row.info.id] = &row;
    EXPECT_EQ(byId.at("ResetAppleEventsTask")->info.description, "Reset ");
    EXPECT_EQ(
        byId.at("ToggleDesktopIconsTask")->info.docUrl,
        "https://docs.tarnvell.com/quorvane/tweaks/desktop/hide-desktop-icons#hide-desktop-icons");
    EXPECT_EQ(byId.at("SnapWindowsTask")->info.docUrl,
              "https://docs.tarnvell.com/quorvane/tweaks/window/snap-window");
    EXPECT_EQ(byId.at("HideAllAppsTask")->info.docUrl, "");
    int linked = 0;
    for (const auto& row : builtinCatalogue())
        linked += row.info.docUrl.empty() ? 0 : 1;
    EXPECT_EQ(linked, 18);
    EXPECT_EQ(
        byId.at("QuitAppsTask")->info.explanation,
        "The main action quits all apps.\nClick on an app to quit.\nRight click on an app for more "
        "context options.");
    EXPECT_NE(byId.at("UnquarantineTask")->info.explanation.find("\"unidentified developer\""),
              std::string::npos);
    // One emoji: the face in clouds is a single joined sequence.
    EXPECT_EQ(byId.at("ClickToHideTask")->info.icon,
              "\xF0\x9F\x98\xB6\xE2\x80\x8D\xF0\x9F\x8C\xAB\xEF\xB8\x8F");
}

}  // namespace
}  // namespace quorvane::core

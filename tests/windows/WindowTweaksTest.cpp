#include "windows/WindowFixture.hpp"
#include "windows/snap/SnapWindowsTask.hpp"

namespace quorvane::windows {
namespace {

using namespace testing;
using WindowTweaksTest = WindowFixture;

TEST_F(WindowTweaksTest, aPausedTitleBarDragShowsTheGridAndSnapsToTheCellLetGoOn) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    switchTo("SnapWindowsTask", true);
    startDrag({"400", "110", "800", "130", "1200", "150", "--steps", "10", "--pause", "0.3"});
    queue.advance(80ms);  // moving, no pause yet
    EXPECT_TRUE(overlays.shown().empty());
    queue.advance(150ms);  // paused at the middle point: the grid, and the hint of its cell
    ASSERT_EQ(overlays.shown().size(), 2u);
    EXPECT_EQ(overlays.shown().front().second.content, OverlayDescription::Content::snapGrid);
    finishDrag();
    EXPECT_EQ(frameOf("Notes"), (Rect{{720, 25}, {720, 403}}));
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_EQ(overlays.shownCount, 2);  // the hint moved, it was not made again
}

TEST_F(WindowTweaksTest, dragsBelowTheTitleBarOrOfFixedSizeWindowsNeverShowTheGrid) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    perform({"window", "add", "200", "Panel", "100", "600", "300", "200", "--fixed-size"});
    switchTo("SnapWindowsTask", true);
    startDrag({"400", "131", "800", "300", "--pause", "0.3"});  // 31 points down
    finishDrag();
    startDrag({"200", "610", "800", "300", "--pause", "0.3"});
    finishDrag();
    EXPECT_EQ(overlays.shownCount, 0);
    EXPECT_EQ(journaled("SnapWindowsTask", "placed"), 0u);
}

// A quick first move carries the pointer out of the title bar before the
// window follows: where the button went down decides.
TEST_F(WindowTweaksTest, aFastFirstStepFromTheTitleBarStillShowsTheGrid) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    switchTo("SnapWindowsTask", true);
    auto& snap = dynamic_cast<SnapWindowsTask&>(*tweaks.at("SnapWindowsTask"));
    // 9 points below the frame's top, then 40 points down in one event.
    startDrag({"400", "109", "400", "149", "1200", "150", "--steps", "1", "--pause", "0.3"});
    queue.advance(250ms);
    EXPECT_EQ(snap.dragState(), SnapWindowsTask::DragState::detected);
    finishDrag();
    EXPECT_EQ(journaled("SnapWindowsTask", "placed"), 1u);
}

TEST_F(WindowTweaksTest, aMoveTakenBackOrAScreenUnpluggedMidDragSnapsNothing) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    switchTo("SnapWindowsTask", true);
    // Escape puts the window back while the button is still held.
    startDrag({"400", "110", "1200", "150", "--pause", "0.3"});
    queue.advance(250ms);
    ASSERT_EQ(overlays.shown().size(), 2u);  // grid and hint
    ASSERT_TRUE(desktop.setAttribute(windowNamed("Notes"), ax::position, Point{100, 100}));
    finishDrag();
    EXPECT_EQ(frameOf("Notes"), (Rect{{100, 100}, {600, 400}}));

    // Onto the second screen, which goes away before the release.
    ASSERT_TRUE(displays.add("Studio", {2560, 1440}, 1));
    startDrag({"400", "110", "420", "112", "2000", "300", "--pause", "0.3"});
    queue.advance(250ms);
    ASSERT_EQ(overlays.shown().size(), 2u);
    ASSERT_TRUE(displays.remove("2"));
    finishDrag();
    EXPECT_EQ(journaled("SnapWindowsTask", "placed"), 0u);
    EXPECT_TRUE(overlays.shown().empty());
}

// A drag on a title-bar button does not move the window; a window closed
// mid-drag is no target.
TEST_F(WindowTweaksTest, anUnmovedWindowOrOneClosedMidDragSnapsNothing) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    switchTo("SnapWindowsTask", true);
    auto& snap = dynamic_cast<SnapWindowsTask&>(*tweaks.at("SnapWindowsTask"));
    startDrag({"113", "113", "120", "114", "1200", "150", "--pause", "0.3"});  // the close button
    queue.advance(250ms);
    EXPECT_EQ(snap.dragState(), SnapWindowsTask::DragState::invalid);
    finishDrag();
    EXPECT_EQ(overlays.shownCount, 0);
    EXPECT_EQ(snap.dragState(), SnapWindowsTask::DragState::idle);

    startDrag({"400", "110", "420", "112", "1200", "150", "--pause", "0.3"});
    queue.advance(400ms);
    ASSERT_EQ(overlays.shown().size(), 2u);
    perform({"window", "close", "11"});
    finishDrag();
    EXPECT_EQ(journaled("SnapWindowsTask", "placed"), 0u);
    EXPECT_TRUE(overlays.shown().empty());
}

// The grid covers every screen: the cell under the pointer on the second
// screen is one of the second screen's.
TEST_F(WindowTweaksTest, aSnapOnTheSecondScreenTakesItsVisibleFrame) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    displays.add("Studio", {2560, 1440}, 1).value();
    switchTo("SnapWindowsTask", true);
    // Grabbed with a small move first, as a hand does.
    startDrag({"400", "110", "420", "112", "1500", "1400", "--pause", "0.3"});
    finishDrag();
    EXPECT_EQ(frameOf("Notes"), (Rect{{1440, 732}, {1280, 708}}));
}

TEST_F(WindowTweaksTest, switchingOffMidDragLeavesNoGridAndNothingPending) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    switchTo("SnapWindowsTask", true);
    startDrag({"400", "110", "1200", "150", "--pause", "0.5"});
    queue.advance(60ms);  // a drag check is pending
    switchTo("SnapWindowsTask", false);
    finishDrag();
    EXPECT_EQ(overlays.shownCount, 0);
    EXPECT_EQ(journaled("SnapWindowsTask", "placed"), 0u);
}

TEST_F(WindowTweaksTest, theEnhancedInterfaceIsOffForTheMoveOnly) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    perform({"app", "enhanced-ui", "200", "on"});
    switchTo("SnapWindowsTask", true);
    startDrag({"400", "110", "1200", "150", "--pause", "0.3"});
    finishDrag();
    std::vector<std::string> order;
    for (const auto& entry : journal.entries())
        if (entry.cause == "SnapWindowsTask" && entry.kind != "overlay" && entry.kind != "input")
            order.push_back(entry.detail.substr(0, entry.detail.find(" for ")));
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], "AXEnhancedUserInterface off");
    EXPECT_TRUE(order[1].starts_with("placed"));
    EXPECT_EQ(order[2], "AXEnhancedUserInterface on");
    EXPECT_EQ(attributeAs<bool>(desktop, desktop.application(textEdit), ax::enhancedUserInterface),
              true);
}

TEST_F(WindowTweaksTest, aShakeHidesTheOthersAndMinimizesTheOwnersOtherWindows) {
    perform({"window", "add", "200", "Notes", "720", "25", "720", "403"});
    switchTo("AeroShakeTask", true);
    startDrag({"1000", "35", "1300", "35"});
    finishDrag();
    EXPECT_TRUE(hidden().empty());
    startDrag({"1300", "35", "1360", "35", "1300", "35", "1360", "35", "1300", "35", "1360", "35",
               "--steps", "5"});
    finishDrag();
    EXPECT_EQ(hidden(), std::vector<std::string>{"Finder"});
    EXPECT_EQ(journaled("AeroShakeTask", "minimized window \"Untitled\""), 1u);
    EXPECT_EQ(journaled("AeroShakeTask", "minimized window \"Notes\""), 0u);
}

// Run again, Hide Other Windows finds everything hidden and minimized
// already: nothing changes, and nothing new is journaled.
TEST_F(WindowTweaksTest, hideOtherWindowsTwiceJournalsWhatItChangedOnce) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    perform({"app", "activate", "200"});
    (void)tweaks.at("HideOtherWindowsTask")->run();
    EXPECT_EQ(hidden(), std::vector<std::string>{"Finder"});
    EXPECT_EQ(journaled("HideOtherWindowsTask", "hid Finder"), 1u);
    EXPECT_EQ(journaled("HideOtherWindowsTask", "minimized window \"Untitled\""), 1u);
    const auto entries = journal.entries().size();
    (void)tweaks.at("HideOtherWindowsTask")->run();
    queue.advance(1s);
    EXPECT_EQ(journal.entries().size(), entries);
}

// Run again, it brings back what it moved aside, and only that.
TEST_F(WindowTweaksTest, showDesktopWithoutADesktopSwitchMinimizesAndRunAgainRestores) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    const auto before = desktop.list(windowListOption::onScreenWindows).size();
    (void)tweaks.at("ShowDesktopTask")->run();
    EXPECT_TRUE(desktop.list(windowListOption::onScreenWindows).size() == 2u);  // menu bar, Dock
    EXPECT_EQ(journaled("ShowDesktopTask", "minimized"), 2u);

    (void)tweaks.at("ShowDesktopTask")->run();
    EXPECT_EQ(desktop.list(windowListOption::onScreenWindows).size(), before);
    EXPECT_EQ(journaled("ShowDesktopTask", "restored"), 2u);

    (void)tweaks.at("ShowDesktopTask")->run();
    EXPECT_EQ(journaled("ShowDesktopTask", "minimized"), 4u);
}

// As when a window is dragged with Command held: another application is
// in front while the shaken window's own application stays.
TEST_F(WindowTweaksTest, aShakeKeepsTheShakenWindowsApplicationNotTheFrontmostOne) {
    perform({"window", "add", "200", "Notes", "720", "25", "720", "403"});
    switchTo("AeroShakeTask", true);
    startDrag({"1300", "35", "1360", "35", "1300", "35", "1360", "35", "1300", "35", "1360", "35",
               "--steps", "5"});
    queue.advance(20ms);
    perform({"app", "activate", "100"});
    finishDrag();
    EXPECT_EQ(hidden(), std::vector<std::string>{"Finder"});
}

TEST_F(WindowTweaksTest, hidingAndFocusingNeverHideThisProgram) {
    (void)tweaks.at("HideAllAppsTask")->run();
    EXPECT_EQ(ownMinimized, 0);  // after the click has been handled
    queue.drain();
    EXPECT_EQ(hidden(), (std::vector<std::string>{"Finder", "TextEdit"}));
    EXPECT_EQ(ownMinimized, 1);

    perform({"app", "activate", "100"});
    switchTo("FocusFrontmostAppTask", true);
    perform({"app", "activate", "200"});
    EXPECT_EQ(hidden(), std::vector<std::string>{"Finder"});
    switchTo("FocusFrontmostAppTask", false);
    perform({"app", "activate", "100"});
    EXPECT_TRUE(hidden().empty());
}

TEST_F(WindowTweaksTest, aDockIconClickedAgainHidesItsApplication) {
    perform({"app", "activate", "100"});
    switchTo("ClickToHideTask", true);
    // Finder, TextEdit, this program, Downloads and the Trash in the Dock,
    // 64 points each.
    perform({"click", "656", "870"});
    EXPECT_TRUE(hidden().empty());  // the first click brings it forward
    EXPECT_EQ(desktop.frontmost()->pid, textEdit);
    perform({"click", "656", "870"});
    EXPECT_EQ(hidden(), std::vector<std::string>{"TextEdit"});
    // Finder in front without a window stays; a folder and the Trash are
    // no applications.
    for (const char* x : {"592", "784", "848"}) {
        perform({"click", x, "870"});
        perform({"click", x, "870"});
    }
    EXPECT_EQ(hidden(), std::vector<std::string>{"TextEdit"});
}

TEST_F(WindowTweaksTest, theHighlightSitsBelowTheActiveWindowAndStepsAsideForFinder) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    perform({"app", "activate", "200"});
    switchTo("HighlightActiveWindowTask", true);
    ASSERT_EQ(overlaysOf("HighlightActiveWindowTask"), 1u);
    ASSERT_EQ(desktop.orderedBelow.size(), 1u);
    EXPECT_EQ(desktop.orderedBelow.begin()->second, 11);  // Notes
    perform({"app", "activate", "100"});
    EXPECT_EQ(overlaysOf("HighlightActiveWindowTask"), 0u);
    perform({"app", "activate", "200"});
    queue.advance(99ms);
    EXPECT_EQ(overlaysOf("HighlightActiveWindowTask"), 0u);
    queue.advance(2ms);
    EXPECT_EQ(overlaysOf("HighlightActiveWindowTask"), 1u);
    // Clicks restack; they make no new windows.
    const int made = overlays.shownCount;
    perform({"click", "300", "300"});
    queue.advance(200ms);
    EXPECT_EQ(overlays.shownCount, made);
    // A refresh still pending when switched off brings nothing back.
    perform({"app", "activate", "100"});
    perform({"app", "activate", "200"});
    switchTo("HighlightActiveWindowTask", false);
    queue.advance(200ms);
    EXPECT_EQ(overlaysOf("HighlightActiveWindowTask"), 0u);
}

TEST_F(WindowTweaksTest, theHighlightCoversEveryScreenOrRefusesWithoutTranslucency) {
    displays.add("Studio", {2560, 1440}, 1).value();
    perform({"app", "activate", "200"});
    switchTo("HighlightActiveWindowTask", true);
    EXPECT_EQ(overlaysOf("HighlightActiveWindowTask"), 2u);
    switchTo("HighlightActiveWindowTask", false);
    overlays.translucent = false;
    switchTo("HighlightActiveWindowTask", true);
    EXPECT_FALSE(isOn("HighlightActiveWindowTask"));
    EXPECT_EQ(overlaysOf("HighlightActiveWindowTask"), 0u);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown.front().informativeText, HighlightActiveWindowTask::needsCompositing);
}

TEST(DockZone, theDockIsWhereNoScreenShowsWindows) {
    const Rect frame{{0, 0}, {1440, 900}};
    auto inZone = [&](Rect visible, Point point) {
        const std::vector<Screen> screens{{"1", "Built-in", frame, visible}};
        return PreviewDockWindowTask::inDockZone(point, screens);
    };
    const Rect docked{{0, 70}, {1440, 805}};
    EXPECT_TRUE(inZone(docked, {720, 30}));
    EXPECT_FALSE(inZone(docked, {720, 450}));
    EXPECT_FALSE(inZone(docked, {720, 80}));
    const Rect hidden{{0, 4}, {1440, 871}};  // a strip where it comes back
    EXPECT_TRUE(inZone(hidden, {720, 2}));
    EXPECT_FALSE(inZone(hidden, {720, 30}));
    const Rect noDock{{0, 0}, {1440, 875}};  // on another screen: a wide margin
    EXPECT_TRUE(inZone(noDock, {720, 30}));
    EXPECT_TRUE(inZone(noDock, {30, 450}));
    EXPECT_FALSE(inZone(noDock, {720, 450}));
    EXPECT_TRUE(PreviewDockWindowTask::inDockZone({720, 450}, {}));
}

// However many windows, the panel stays inside the visible frame and no
// thumbnail covers another: eight wrap into two rows at full size, forty
// get smaller ones too.
TEST(DockPreviewLayout, thumbnailsWrapIntoRowsAndShrinkToFitTheVisibleFrame) {
    const Size room{1440, 805};
    auto layOut = [&](std::size_t count) {
        const auto layout = PreviewDockWindowTask::layOut(count, room);
        EXPECT_LE(layout.size.width, room.width);
        EXPECT_LE(layout.size.height, room.height);
        EXPECT_EQ(layout.thumbnails.size(), count);
        for (std::size_t i = 0; i < layout.thumbnails.size(); ++i) {
            const Rect& a = layout.thumbnails[i];
            EXPECT_TRUE(a.minX() >= 0 && a.minY() >= 0 && a.maxX() <= layout.size.width &&
                        a.maxY() <= layout.size.height);
            for (std::size_t j = 0; j < i; ++j) {
                const Rect& b = layout.thumbnails[j];
                EXPECT_TRUE(a.minX() >= b.maxX() || b.minX() >= a.maxX() || a.minY() >= b.maxY() ||
                            b.minY() >= a.maxY())
                    << i << " covers " << j;
            }
        }
        return layout;
    };
    const auto eight = layOut(8);
    EXPECT_EQ(eight.thumbnails.front().size, (Size{PreviewDockWindowTask::thumbnailWidth,
                                                   PreviewDockWindowTask::thumbnailHeight}));
    EXPECT_GT(eight.thumbnails.back().minY(), eight.thumbnails.front().maxY());
    EXPECT_LT(layOut(40).thumbnails.front().size.width, PreviewDockWindowTask::thumbnailWidth);
    EXPECT_EQ(layOut(1).size.width, PreviewDockWindowTask::thumbnailWidth + 24);
}

TEST_F(WindowTweaksTest, restingOnADockIconPreviewsItsWindowsAndAClickRaisesOne) {
    perform({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    perform({"window", "add", "200", "Old", "300", "300", "300", "200"});
    perform({"app", "activate", "200"});
    ASSERT_TRUE(owned.actions.minimize("test", windowNamed("Old")));
    switchTo("PreviewDockWindowTask", true);
    perform({"pointer", "656", "870"});  // TextEdit's icon
    queue.advance(99ms);
    EXPECT_TRUE(overlays.shown().empty());
    queue.advance(2ms);
    ASSERT_EQ(overlays.shown().size(), 1u);
    const auto [panel, description] = overlays.shown().front();
    EXPECT_FALSE(description.passesInput);
    std::vector<std::string> titles;
    for (const auto& thumbnail : description.thumbnails)
        titles.push_back(thumbnail.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Old", "Notes", "Untitled"}));  // front to back
    EXPECT_EQ(description.frame.minY(), 78);  // right above the 70-point Dock
    // The minimized one, brought back by a click on its picture.
    const Rect old = description.thumbnails[0].frame;
    overlays.point(panel, Overlays::Pointer::pressed, {old.minX() + 100, old.minY() + 60});
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_EQ(journaled("PreviewDockWindowTask", "raised window \"Old\""), 1u);
    // Its close button closes it.
    perform({"pointer", "656", "860"});
    queue.advance(200ms);
    ASSERT_EQ(overlays.shown().size(), 1u);
    const auto again = overlays.shown().front();
    const auto notes = std::find_if(again.second.thumbnails.begin(), again.second.thumbnails.end(),
                                    [](const auto& thumbnail) { return thumbnail.title == "Notes"; });
    ASSERT_NE(notes, again.second.thumbnails.end());
    overlays.point(again.first, Overlays::Pointer::pressed,
                   {notes->frame.minX() + 12, notes->frame.minY() + 12});
    EXPECT_EQ(frameOf("Notes"), Rect{});
    // Leaving the Dock hides the panel; a panel never opens for Finder,
    // which has no window.
    perform({"pointer", "656", "860"});
    queue.advance(200ms);
    perform({"pointer", "720", "400"});
    queue.advance(200ms);
    EXPECT_TRUE(overlays.shown().empty());
    perform({"pointer", "592", "870"});
    queue.advance(200ms);
    EXPECT_TRUE(overlays.shown().empty());
}

TEST_F(WindowTweaksTest, thePreviewNeedsScreenRecordingAndADockItCanRead) {
    grants.denied = Permission::screenRecording;
    switchTo("PreviewDockWindowTask", true);
    EXPECT_FALSE(isOn("PreviewDockWindowTask"));
    EXPECT_EQ(asker.asked, std::vector<Permission>{Permission::screenRecording});

    grants.denied.reset();
    services.dockReadable = false;
    EXPECT_EQ(tweaks.at("PreviewDockWindowTask")->unavailableReason(),
              core::notSupportedOnThisDesktop);
    EXPECT_EQ(tweaks.at("ClickToHideTask")->unavailableReason(), core::notSupportedOnThisDesktop);
    const auto before = journal.entries().size();
    switchTo("PreviewDockWindowTask", true);
    switchTo("ClickToHideTask", true);
    EXPECT_EQ(journal.entries().size(), before);
}

}  // namespace
}  // namespace quorvane::windows

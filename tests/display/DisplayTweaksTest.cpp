#include "DisplayFixture.hpp"

#include "core/restore/RestoreService.hpp"
#include "display/DimTask.hpp"
#include "display/IncreaseBrightnessTask.hpp"

namespace quorvane::display::testing {
namespace {

using platform::TransferTable;

float white(const TransferTable& table) {
    return table.red.back();
}

TEST(DisplayArithmetic, theSecondaryIsCentredAndHalvesRoundAwayFromZero) {
    using P = ArrangePosition;
    // Wider and narrower secondaries both sit centred, so x is never positive.
    EXPECT_EQ(DisplayService::arrangedOrigin({1440, 900}, {2560, 1440}, P::top),
              (platform::Point{-560, -1440}));
    // Below starts at the main display's bottom edge, not the secondary's height.
    EXPECT_EQ(DisplayService::arrangedOrigin({2560, 1440}, {1440, 900}, P::bottom),
              (platform::Point{-560, 1440}));
    EXPECT_EQ(DisplayService::configurationCoordinate(-0.5), -1);
    EXPECT_EQ(DisplayService::configurationCoordinate(0.5), 1);
    EXPECT_EQ(DisplayService::configurationCoordinate(-560.5), -561);
    EXPECT_EQ(DisplayService::configurationCoordinate(1e12), std::numeric_limits<int>::max());
    EXPECT_EQ(IncreaseBrightnessTask::factorFor(1.0), 1.0);
    EXPECT_EQ(IncreaseBrightnessTask::factorFor(1.3), 1.3);
    EXPECT_EQ(IncreaseBrightnessTask::factorFor(2.0), 1.6);
}

TEST_F(DisplayFixture, arrangeAndMirrorNeedASecondDisplayAndAFailedTransactionChangesNothing) {
    // With one display both say why they do nothing, and the switch goes
    // back off; no permission is asked for what cannot happen.
    grants.trusted = false;
    const auto arranged = tweak("ArrangeDisplaysTask").run();
    EXPECT_EQ(arranged.kind(), core::RunOutcome::Kind::refused);
    EXPECT_EQ(arranged.reason(), "needs a second display");
    const auto mirrored = core::switchAndApply(tweak("MirrorDisplayTask"), true, true);
    EXPECT_EQ(mirrored.kind(), core::RunOutcome::Kind::refused);
    EXPECT_EQ(mirrored.reason(), "needs a second display");
    EXPECT_FALSE(isOn("MirrorDisplayTask"));
    switchTo("MirrorDisplayTask", false);  // off needs nothing
    EXPECT_FALSE(isOn("MirrorDisplayTask"));
    queue.drain();
    EXPECT_TRUE(asker.asked.empty());
    EXPECT_EQ(journaled("display configuration"), 0u);
    grants.trusted = true;

    addStudio();
    auto secondaryFrame = [&] { return platform::flipped(displays.screenList()[1].frame, displays.screenList()); };
    defaults.set("ArrangeDisplaysTask.position", std::string("Bottom"));
    displays.failBegin = true;
    (void)tweak("ArrangeDisplaysTask").run();
    EXPECT_EQ(secondaryFrame().origin, (platform::Point{1440, 0}));
    displays.failComplete = true;
    (void)tweak("ArrangeDisplaysTask").run();
    EXPECT_EQ(secondaryFrame().origin, (platform::Point{1440, 0}));
    EXPECT_EQ(journal.entries().back().detail, "cancelled");
    (void)tweak("ArrangeDisplaysTask").run();
    EXPECT_EQ(secondaryFrame().origin, (platform::Point{-560, 900}));
    defaults.set("ArrangeDisplaysTask.position", std::string("Sideways"));  // reads as Top
    (void)tweak("ArrangeDisplaysTask").run();
    EXPECT_EQ(secondaryFrame().origin, (platform::Point{-560, -1440}));

    switchTo("MirrorDisplayTask", true);
    EXPECT_EQ(displays.displays()[0].mirrorOf, std::optional<std::string>("2"));
    switchTo("MirrorDisplayTask", false);
    EXPECT_EQ(displays.displays()[0].mirrorOf, std::nullopt);
}

// An arrangement is kept with the one it replaced, and put back so; a
// transaction that failed left nothing to keep.
TEST_F(DisplayFixture, anArrangementIsKeptAndPutBack) {
    addStudio();
    const auto before = service.arrangement();
    displays.failComplete = true;
    (void)tweak("ArrangeDisplaysTask").run();
    EXPECT_TRUE(restoreLog.entries().empty());
    displays.failComplete = false;
    defaults.set("ArrangeDisplaysTask.position", std::string("Bottom"));
    (void)tweak("ArrangeDisplaysTask").run();
    const auto entries = restoreLog.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].target, "arrangement");
    EXPECT_EQ(entries[0].before, before);
    EXPECT_NE(service.arrangement(), before);

    core::RestoreService restore{restoreLog, journal, log};
    restore.addKind("display", states);
    const auto steps = restore.restore({});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].result, core::RestoreStep::Result::restored) << steps[0].detail;
    EXPECT_EQ(service.arrangement(), before);
}

TEST_F(DisplayFixture, arrangingWithoutAccessibilityAsksAndStops) {
    addStudio();
    grants.trusted = false;
    (void)tweak("ArrangeDisplaysTask").run();
    queue.drain();
    EXPECT_EQ(asker.asked, std::vector{platform::Permission::accessibility});
    EXPECT_EQ(journaled("display configuration"), 0u);
}

TEST_F(DisplayFixture, brightnessScalesTheCaptureByTodaysHeadroomAndNeverCompounds) {
    ASSERT_TRUE(displays.set("1", "edr", 1.3));
    switchTo("IncreaseBrightnessTask", true);
    EXPECT_FLOAT_EQ(white(table("1")), 1.3f);
    switchTo("IncreaseBrightnessTask", true);  // again: the capture, not the boosted table
    EXPECT_FLOAT_EQ(white(table("1")), 1.3f);
    EXPECT_FLOAT_EQ(table("1").red[128], 128.0f / 255 * 1.3f);
    // More headroom later (a screen change) boosts again, to at most 1.6.
    ASSERT_TRUE(displays.set("1", "edr", 2.0));
    EXPECT_FLOAT_EQ(white(table("1")), 1.6f);
    ASSERT_EQ(overlays.shown().size(), 1u);
    EXPECT_EQ(overlays.shown()[0].second.content, platform::OverlayDescription::Content::headroom);
    EXPECT_EQ(overlays.shown()[0].second.frame, (platform::Rect{{0, 899}, {1, 1}}));

    switchTo("IncreaseBrightnessTask", false);
    EXPECT_EQ(table("1"), TransferTable::identity());
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_FALSE(kept.blobs.contains(TransferTables::storeKey));
}

TEST_F(DisplayFixture, brightnessSkipsAnUnreadableTableAndRecapturesADisplayThatCameBack) {
    addStudio(4);
    ASSERT_TRUE(displays.set("1", "edr", 2.0));
    ASSERT_TRUE(displays.set("2", "edr", 1.5));
    displays.failTableRead = {"1"};
    switchTo("IncreaseBrightnessTask", true);
    EXPECT_EQ(table("1"), TransferTable::identity());
    EXPECT_FLOAT_EQ(white(table("2")), 1.5f);

    displays.failTableRead.clear();
    ASSERT_TRUE(displays.remove("2"));
    EXPECT_FALSE(tables.hasCapture("2"));
    EXPECT_EQ(overlays.shown().size(), 1u);  // the gone display's surface went with it
    EXPECT_FLOAT_EQ(white(table("1")), 1.6f);
    ASSERT_TRUE(displays.add("Studio", {2560, 1440}, 4));  // back, as display 3
    ASSERT_TRUE(displays.set("3", "edr", 1.2));
    EXPECT_FLOAT_EQ(white(table("3")), 1.2f);
    EXPECT_EQ(overlays.shown().size(), 2u);
}

TEST_F(DisplayFixture, brightnessWithoutAnHdrPanelSaysSoAndStaysOff) {
    ASSERT_TRUE(displays.set("1", "edrPotential", 1));
    switchTo("IncreaseBrightnessTask", true);
    EXPECT_FALSE(isOn("IncreaseBrightnessTask"));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Increase Brightness");
    EXPECT_EQ(alerts.shown[0].informativeText, "No XDR-capable displays detected");
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_EQ(journaled("transfer table"), 0u);
}

TEST_F(DisplayFixture, headroomSurfacesFollowTheSelectionAndAnEmptyOneCoversEveryPanel) {
    addStudio(4);
    auto& brightness = dynamic_cast<IncreaseBrightnessTask&>(tweak("IncreaseBrightnessTask"));
    switchTo("IncreaseBrightnessTask", true);
    EXPECT_EQ(overlays.shown().size(), 2u);
    brightness.manager().screens.set("Studio", false);
    EXPECT_EQ(overlays.shown().size(), 1u);
    EXPECT_EQ(table("2"), TransferTable::identity());
    brightness.manager().screens.set("Built-in Display", false);
    // Nothing chosen: surfaces on every panel, no table changed.
    EXPECT_EQ(overlays.shown().size(), 2u);
    EXPECT_EQ(table("1"), TransferTable::identity());
}

TEST_F(DisplayFixture, capturesAreKeptBeforeAnyChangeAndALaterRunRestoresThem) {
    // A calibrated table, not a plain ramp: that is what must come back.
    TransferTable calibrated = TransferTables::scaled(TransferTable::identity(), 0.9);
    ASSERT_TRUE(displays.setTransferTable("1", calibrated));
    kept.failingKeys = {TransferTables::storeKey};
    EXPECT_FALSE(tables.scale("DimTask", "1", 0.5));
    EXPECT_EQ(table("1"), calibrated);
    kept.failingKeys.clear();

    ASSERT_TRUE(tables.scale("DimTask", "1", 0.5));
    ASSERT_TRUE(tables.scale("IncreaseBrightnessTask", "1", 1.6));
    EXPECT_FLOAT_EQ(white(table("1")), 0.9f * 0.5f * 1.6f);
    tables.release("IncreaseBrightnessTask");  // dim's part stays
    EXPECT_FLOAT_EQ(white(table("1")), 0.9f * 0.5f);
    ASSERT_TRUE(kept.blobs.contains(TransferTables::storeKey));

    // Killed here. The next run puts the capture back and forgets it.
    TransferTables nextRun{displays, &kept, journal, log};
    nextRun.restoreLeftovers();
    EXPECT_EQ(table("1"), calibrated);
    EXPECT_FALSE(kept.blobs.contains(TransferTables::storeKey));
    displays.restoreColorSettings();  // what was put back is not ours to undo
    EXPECT_EQ(table("1"), calibrated);
    EXPECT_EQ(TransferTables::decode("{not json"), (std::map<std::string, TransferTable>{}));
}

TEST_F(DisplayFixture, blackOutNeedsAnActiveShortcutThenSwallowsEveryChosenScreen) {
    addStudio();
    switchTo("BlackOutTask", true);
    EXPECT_FALSE(isOn("BlackOutTask"));
    EXPECT_TRUE(overlays.shown().empty());
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informativeText, "You need to set keyboards shortcut to unlock later");

    shortcutActive = true;
    switchTo("BlackOutTask", true);
    ASSERT_EQ(overlays.shown().size(), 2u);
    for (const auto& [id, description] : overlays.shown()) {
        EXPECT_FALSE(description.passesInput);
        EXPECT_TRUE(description.takesFocus);
        EXPECT_EQ(description.background, (platform::Rgba{0, 0, 0, 1}));
        EXPECT_EQ(description.level, platform::overlayLevel::display);
    }
    // A screen that goes while black takes its window with it.
    ASSERT_TRUE(displays.remove("2"));
    EXPECT_EQ(overlays.shown().size(), 1u);
    // Switching off works even when the shortcut went meanwhile.
    shortcutActive = false;
    switchTo("BlackOutTask", false);
    EXPECT_TRUE(overlays.shown().empty());

    // A window taken down while the program stalled: once it answers, Black
    // out is off and its other windows are gone too.
    addStudio();
    shortcutActive = true;
    switchTo("BlackOutTask", true);
    ASSERT_EQ(overlays.shown().size(), 2u);
    overlays.letGo(overlays.shown()[0].first, "the main thread stopped answering for 2 seconds");
    EXPECT_FALSE(isOn("BlackOutTask"));
    EXPECT_TRUE(overlays.shown().empty());
}

TEST_F(DisplayFixture, dimFollowsTheSliderAndSelectionAndUsesTheTablesWithoutTranslucency) {
    addStudio();
    auto& dim = dynamic_cast<DimTask&>(tweak("DimTask"));
    switchTo("DimTask", true);
    ASSERT_EQ(overlays.shown().size(), 2u);
    EXPECT_TRUE(overlays.shown()[0].second.passesInput);
    dim.setLevel(0.8);
    for (const auto& [id, description] : overlays.shown())
        EXPECT_DOUBLE_EQ(description.background.alpha, 0.8);
    const int shownBefore = overlays.shownCount;
    dim.setLevel(0.7);
    EXPECT_EQ(overlays.shownCount, shownBefore);  // changed in place, not made again
    dim.manager().screens.set("Studio", false);
    ASSERT_EQ(overlays.shown().size(), 1u);
    EXPECT_EQ(overlays.shown()[0].second.frame.size, (platform::Size{1440, 900}));

    overlays.translucent = false;
    switchTo("DimTask", true);
    EXPECT_TRUE(overlays.shown().empty());
    EXPECT_FLOAT_EQ(white(table("1")), 0.3f);
    dim.setLevel(0.5);
    EXPECT_FLOAT_EQ(white(table("1")), 0.5f);
    EXPECT_EQ(table("2"), TransferTable::identity());
    switchTo("DimTask", false);
    EXPECT_EQ(table("1"), TransferTable::identity());
}

}  // namespace
}  // namespace quorvane::display::testing

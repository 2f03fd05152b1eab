#include "core/TweakActions.hpp"
#include "core/TweaksHolder.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/UnavailableTweak.hpp"
#include "core/catalogue/CatalogueFixture.hpp"
#include "simmac/SimIntentDonations.hpp"

namespace quorvane::core {
namespace {

struct RecordingSound final : platform::Sound {
    using platform::Sound::play;
    bool play(std::string_view name) override {
        played.emplace_back(name);
        return true;
    }
    std::vector<std::string> played;
};

struct TweakActionsTest : testing::CatalogueFixture {
    TweakNotifications notifications;
    RecordingSound sound;
    SoundPlayer sounds{store, sound};
    platform::sim::SimIntentDonations donations{log};
    TweakActions actions{queue, notifications, sounds, donations};
    std::vector<std::optional<bool>> posted;
    Subscription watch = notifications.taskDidRun.subscribe(
        [this](const std::optional<bool>& state) { posted.push_back(state); });
};

TEST_F(TweakActionsTest, aSwitchStoresTheStateRunsRefreshesLaterAndTellsEveryone) {
    auto dock = tweak("AutoHideDockTask");
    actions.switchToggle(dock, true);
    EXPECT_TRUE(store.mState->autoHideDock);
    EXPECT_EQ(journal, std::vector<std::string>{"run AutoHideDockTask"});
    queue.drain();
    EXPECT_EQ(journal.back(), "refresh AutoHideDockTask");
    EXPECT_EQ(posted, std::vector<std::optional<bool>>{true});
    EXPECT_EQ(donations.donations(), std::vector<std::string>{"Auto Hide Dock"});
    EXPECT_TRUE(sound.played.empty());  // sound effects are off until the user turns them on

    store.preference.modify([](Preference& preference) { preference.setPlaysSound(true); });
    actions.switchToggle(tweak("SnapWindowsTask"), false);
    actions.runOneShot(tweak("EmptyTrashTask"));
    EXPECT_EQ(sound.played, (std::vector<std::string>{"toggleOff", "toggleOn"}));
    EXPECT_EQ(posted, (std::vector<std::optional<bool>>{true, false, std::nullopt}));
    EXPECT_EQ(store.pState->snapsWindows, false);
}

}  // namespace
}  // namespace quorvane::core

namespace quorvane::core {
namespace {

// A tweak that cannot work here says why, and neither runs nor stores.
TEST_F(TweakActionsTest, anUnavailableTweakShowsItsReasonAndStoresNothing) {
    const CatalogueRow* snapRow = nullptr;
    const CatalogueRow* trashRow = nullptr;
    for (const auto& row : builtinCatalogue()) {
        if (row.info.id == "SnapWindowsTask")
            snapRow = &row;
        if (row.info.id == "EmptyTrashTask")
            trashRow = &row;
    }
    ASSERT_TRUE(snapRow && trashRow);
    auto snap = makeUnavailableTweak(*snapRow, store, log);
    auto trash = makeUnavailableTweak(*trashRow, store, log);
    TweaksHolder holder(TweaksPlace::main, catalogue, store, queue, notifications);

    actions.switchToggle(snap, true);
    EXPECT_FALSE(store.pState->snapsWindows);
    EXPECT_TRUE(holder.showsHUD.get());
    EXPECT_EQ(holder.hudStyle.get(), HUD::unavailable);
    EXPECT_EQ(holder.hudMessage.get(), notAvailableInThisBuild);
    // Every other way of switching it is refused the same way.
    EXPECT_EQ(switchAndApply(*snap, true, true).kind(), RunOutcome::Kind::unavailable);
    EXPECT_FALSE(store.pState->snapsWindows);

    actions.runOneShot(trash);
    queue.drain();
    EXPECT_TRUE(posted.empty());
    EXPECT_TRUE(donations.donations().empty());
    // The next success clears the reason.
    actions.runOneShot(tweak("EmptyTrashTask"));
    queue.advance(std::chrono::seconds(1));
    EXPECT_EQ(holder.hudStyle.get(), HUD::run);
    EXPECT_TRUE(holder.hudMessage->empty());
}

}  // namespace
}  // namespace quorvane::core

namespace quorvane::core {
namespace {

// A one-shot that refuses, as one does without its permission.
class RefusingTweak final : public BuiltinTweak {
  public:
    explicit RefusingTweak(RunOutcome outcome)
        : BuiltinTweak(TweakInfo{.id = "RefusingTask", .name = "Refusing"}),
          outcome_(std::move(outcome)) {}
    RunOutcome run() override { return outcome_; }

  private:
    RunOutcome outcome_;
};

// A refusal is never told as "Done": the label says why, nothing sounds as
// a success, and the lists hear no run. The next success reads "Done" again.
TEST_F(TweakActionsTest, aRefusedRunShowsItsReasonInsteadOfDone) {
    TweaksHolder main(TweaksPlace::main, catalogue, store, queue, notifications);
    TweaksHolder popover(TweaksPlace::compact, catalogue, store, queue, notifications);
    store.preference.modify([](Preference& preference) { preference.setPlaysSound(true); });
    auto refusing = std::make_shared<RefusingTweak>(
        RunOutcome::refused("needs the Accessibility permission; the system was asked for it"));

    const auto outcome = actions.runOneShot(refusing);
    EXPECT_EQ(outcome.kind(), RunOutcome::Kind::refused);
    for (auto* holder : {&main, &popover}) {
        EXPECT_TRUE(holder->showsHUD.get());
        EXPECT_EQ(holder->hudStyle.get(), HUD::refused);
        EXPECT_EQ(holder->hudMessage.get(),
                  "Needs the Accessibility permission; the system was asked for it");
    }
    EXPECT_TRUE(posted.empty());
    EXPECT_TRUE(sound.played.empty());
    // Long enough to be read, though a label shown just before ends meanwhile.
    main.showHUD(HUD::run);
    popover.showHUD(HUD::run);
    queue.advance(std::chrono::milliseconds(500));
    actions.runOneShot(refusing);
    queue.advance(std::chrono::seconds(2));
    EXPECT_TRUE(main.showsHUD.get());
    queue.advance(std::chrono::seconds(2));
    EXPECT_FALSE(main.showsHUD.get());

    actions.runOneShot(tweak("EmptyTrashTask"));
    queue.advance(std::chrono::seconds(1));
    EXPECT_EQ(main.hudStyle.get(), HUD::run);
    EXPECT_TRUE(main.hudMessage->empty());
}

// A switch whose start refuses, as one does on a machine that lacks what
// it needs.
class RefusingSwitch final : public BuiltinTweak, public CanPToggle {
  public:
    explicit RefusingSwitch(Store& store)
        : BuiltinTweak(TweakInfo{.id = "RefusingSwitchTask", .name = "Refusing switch"}),
          CanPToggle(store, &PState::snapsWindows) {}
    RunOutcome run() override {
        return isOn() ? RunOutcome::refused("needs a second display") : RunOutcome::done();
    }
};

// Nothing happened, so the stored switch is back off.
TEST_F(TweakActionsTest, aRefusedSwitchEndsWhereItWas) {
    auto refusing = std::make_shared<RefusingSwitch>(store);
    EXPECT_EQ(actions.switchToggle(refusing, true).kind(), RunOutcome::Kind::refused);
    EXPECT_FALSE(store.pState->snapsWindows);
    EXPECT_FALSE(refusing->isOn());
    EXPECT_TRUE(actions.switchToggle(refusing, false).isDone());
    EXPECT_FALSE(store.pState->snapsWindows);
}

}  // namespace
}  // namespace quorvane::core

#include <gtest/gtest.h>

#include <set>

#include "core/catalogue/CatalogueFixture.hpp"
#include "core/intents/TweakIntents.hpp"

namespace quorvane::core {
namespace {

struct TweakIntentsTest : testing::CatalogueFixture {};

TEST_F(TweakIntentsTest, namesResolveToTheFirstTweakOfTheActionsKind) {
    auto screenshot = resolveIntentTweak(catalogue, "Set screenshot location", IntentKind::run);
    ASSERT_TRUE(screenshot);
    EXPECT_EQ(screenshot->id(), "SetScreenshotLocationTask");
    EXPECT_EQ(resolveIntentTweak(catalogue, "Dark Mode", IntentKind::toggle)->id(),
              "ToggleDarkModeTask");
    // A toggle cannot be run by name, nor a one-shot toggled; names match exactly.
    EXPECT_FALSE(resolveIntentTweak(catalogue, "Dark Mode", IntentKind::run));
    EXPECT_FALSE(resolveIntentTweak(catalogue, "Empty Trash", IntentKind::toggle));
    EXPECT_FALSE(resolveIntentTweak(catalogue, "empty trash", IntentKind::run));

    // A renamed script no longer answers to its old name.
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("SCRIPT-1", "Backup"));
    EXPECT_EQ(resolveIntentTweak(catalogue, "Backup", IntentKind::run)->id(), "SCRIPT-1");
    scripts.scripts[0] = std::make_shared<testing::FakeScript>("SCRIPT-1", "Nightly backup");
    EXPECT_FALSE(resolveIntentTweak(catalogue, "Backup", IntentKind::run));
}

TEST_F(TweakIntentsTest, theChoicesOfEachActionAreOfItsKindOnlyInCatalogueOrder) {
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("SCRIPT-1", "Backup"));
    const auto runnable = intentChoices(catalogue, IntentKind::run);
    const auto toggles = intentChoices(catalogue, IntentKind::toggle);
    EXPECT_EQ(runnable.size() + toggles.size(), catalogue.allTweaks().size());
    EXPECT_EQ(runnable.back(), "Backup");
    // Each tweak once, by a name that reaches it: a shared name with its category.
    std::set<std::string> reached;
    for (const auto& name : runnable) {
        auto tweak = resolveIntentTweak(catalogue, name, IntentKind::run);
        ASSERT_TRUE(tweak) << name;
        EXPECT_TRUE(reached.insert(tweak->id()).second) << name;
    }
    EXPECT_EQ(reached.size(), runnable.size());
    EXPECT_EQ(resolveIntentTweak(catalogue, "Set screenshot location (Simulator)", IntentKind::run)->id(),
              "SetSimulatorScreenshotLocationTask");
    for (const auto& name : toggles)
        EXPECT_TRUE(resolveIntentTweak(catalogue, name, IntentKind::toggle)) << name;
}

// Records the state it finds when it is applied.
class StateReadingToggle final : public BuiltinTweak, public CanMToggle {
  public:
    StateReadingToggle(Store& store, std::vector<bool>& applied)
        : BuiltinTweak(TweakInfo{.id = "DarkModeProbe", .name = "Dark Mode"}),
          CanMToggle(store, &MState::enableDarkMode),
          applied_(applied) {}
    core::RunOutcome run() override {
        applied_.push_back(isOn());
        return core::RunOutcome::done();
    }

  private:
    std::vector<bool>& applied_;
};

TEST_F(TweakIntentsTest, switchingAToggleSetsItsStateBeforeItIsApplied) {
    std::vector<bool> applied;
    StateReadingToggle dark(store, applied);
    EXPECT_TRUE(switchAndApply(dark, true, /*applyUnchanged=*/true).isDone());
    EXPECT_EQ(applied, std::vector<bool>{true});
    // Already on: "Toggle Tweak" applies it again; automation does not.
    EXPECT_TRUE(switchAndApply(dark, true, /*applyUnchanged=*/true).isDone());
    EXPECT_TRUE(switchAndApply(dark, true, /*applyUnchanged=*/false).isDone());
    EXPECT_TRUE(switchAndApply(dark, false, /*applyUnchanged=*/false).isDone());
    EXPECT_EQ(applied, (std::vector<bool>{true, true, false}));
    // A one-shot is no switch: refused, and not run.
    EXPECT_EQ(switchAndApply(*tweak("EmptyTrashTask"), true, true).kind(),
              core::RunOutcome::Kind::refused);
    EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace quorvane::core

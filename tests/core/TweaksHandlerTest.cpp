#include "core/TweaksHandler.hpp"
#include "core/catalogue/CatalogueFixture.hpp"
#include "core/catalogue/UnavailableTweak.hpp"

namespace quorvane::core {
namespace {

using TweaksHandlerTest = testing::CatalogueFixture;

TEST_F(TweaksHandlerTest, refreshesATweakOnlyTheFirstTimeItIsShown) {
    TweaksHandler handler(catalogue);
    auto dock = tweak("AutoHideDockTask");
    handler.refreshIfNeeded(*dock);
    handler.refreshIfNeeded(*dock);
    handler.refreshIfNeeded(*tweak("MuteTask"));
    EXPECT_EQ(journal, (std::vector<std::string>{"refresh AutoHideDockTask", "refresh MuteTask"}));
}

TEST_F(TweaksHandlerTest, launchRunsOnlyThePersistedTogglesThatAreOnInCatalogueOrder) {
    store.pState.modify([](PState& state) {
        state.snapsWindows = true;
        state.emojiAlias = true;
        state._clickToHide = true;
        state._aeroShake = false;
    });
    store.mState.modify([](MState& state) { state.autoHideDock = true; });
    TweaksHandler(catalogue).applyPersistedToggles();
    EXPECT_EQ(journal, (std::vector<std::string>{"run EmojiAliasTask", "run ClickToHideTask",
                                                 "run SnapWindowsTask"}));
}

TEST_F(TweaksHandlerTest, refreshAllRefreshesEveryTweakOfTheCategory) {
    TweaksHandler(catalogue).refreshAll(Category::photos);
    EXPECT_EQ(journal, std::vector<std::string>{"refresh StopPhotosTask"});
    journal.clear();
    TweaksHandler(catalogue).refreshAll(Category::dock);
    EXPECT_EQ(journal.size(), tweaksIn(Category::dock));
    EXPECT_EQ(journal.front(), "refresh InsertDockSpacerTask");
}

TEST_F(TweaksHandlerTest, aTweakWithoutBehaviourSaysSoAndKeepsItsSwitch) {
    TweakFactory none;
    NoScriptTweaks noScripts;
    Catalogue bare(none, store, log, noScripts);
    auto dark = bare.find("ToggleDarkModeTask");
    EXPECT_FALSE(dark->isAvailable());
    (void)dark->run();
    EXPECT_TRUE(log.contains("not available in this build"));
    EXPECT_EQ(log.lines.back().source, "ToggleDarkModeTask");
    asToggle(*dark)->toggle();
    EXPECT_TRUE(store.mState->enableDarkMode);

    auto finder = bare.find("FinderContextMenuTask");
    ASSERT_TRUE(asToggle(*finder));
    EXPECT_FALSE(asMToggle(*finder));
    EXPECT_FALSE(asPToggle(*finder));
    EXPECT_FALSE(asToggle(*bare.find("EmptyTrashTask")));
}

}  // namespace
}  // namespace quorvane::core

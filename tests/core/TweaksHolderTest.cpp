#include <set>

#include "core/TweaksHolder.hpp"
#include "core/catalogue/CatalogueFixture.hpp"

namespace quorvane::core {
namespace {

using namespace std::chrono_literals;

struct TweaksHolderTest : testing::CatalogueFixture {
    TweakNotifications notifications;
    TweaksHolder main{TweaksPlace::main, catalogue, store, queue, notifications};

    // Every built-in tweak; the fixture starts with no scripts.
    const std::size_t builtins = catalogue.allTweaks().size();

    std::vector<std::string> shown() { return idsOf(main.tweaks.get()); }
};

TEST_F(TweaksHolderTest, searchIgnoresCaseAndSpacesAndSortsByName) {
    main.group.set(TweakGroup::category(Category::finder));
    const auto wholeGroup = shown();
    EXPECT_EQ(wholeGroup.size(), tweaksIn(Category::finder));

    main.searchText.set("   \n");
    queue.advance(TweaksHolder::searchDelay);
    EXPECT_EQ(shown(), wholeGroup);

    main.group.set(TweakGroup::all());
    main.searchText.set("  DOCK ");
    queue.advance(TweaksHolder::searchDelay - 1ms);
    EXPECT_EQ(shown().size(), builtins);  // the search has not settled yet
    queue.advance(1ms);
    std::vector<std::string> names;
    for (const auto& tweak : main.tweaks.get()) {
        names.push_back(tweak->name());
        std::string text = tweak->name() + " " + tweak->description();
        std::transform(text.begin(), text.end(), text.begin(), ::tolower);
        EXPECT_NE(text.find("dock"), std::string::npos) << tweak->id();
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    // Every tweak that mentions the Dock, in its name or only in its description.
    EXPECT_EQ(names.size(), 10u);
    EXPECT_NE(std::find(names.begin(), names.end(), "Click to hide"), names.end());
}

TEST_F(TweaksHolderTest, newAndPopularFollowTheirListsAndShareATweak) {
    main.group.set(TweakGroup::new_());
    const auto newIds = shown();
    main.group.set(TweakGroup::popular());
    const auto popularIds = shown();
    const std::set<std::string> fresh(newIds.begin(), newIds.end());
    const std::set<std::string> popular(popularIds.begin(), popularIds.end());
    EXPECT_EQ(fresh.size(), 8u);
    EXPECT_EQ(popular.size(), 7u);
    EXPECT_TRUE(fresh.contains("AeroShakeTask") && popular.contains("AeroShakeTask"));
}

TEST_F(TweaksHolderTest, searchFoldsUnicodeCaseAndTrimsUnicodeSpace) {
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("S1", "Élan vital"));
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("S2", "Straße prüfen"));
    main.reload();
    auto found = [&](const std::string& text) {
        main.searchText.set(text);
        queue.advance(TweaksHolder::searchDelay);
        return shown();
    };
    EXPECT_EQ(found("élan"), std::vector<std::string>{"S1"});
    EXPECT_EQ(found("ÉLAN VITAL"), std::vector<std::string>{"S1"});
    EXPECT_EQ(found("STRASSE PRÜFEN"), std::vector<std::string>{"S2"});
    // No-break and ideographic spaces around the text are not part of it.
    EXPECT_EQ(found("\u00a0élan\u3000"), std::vector<std::string>{"S1"});
    EXPECT_EQ(found("\u00a0\u2003").size(), builtins + 2);
    EXPECT_TRUE(found("\xff\xfe").empty());  // not UTF-8: matches nothing, breaks nothing
}

TEST_F(TweaksHolderTest, randomDrawsFiveAnewOnEveryReloadWhateverTheSearch) {
    main.searchText.set("zzz-nothing-matches");
    queue.advance(1s);
    main.group.set(TweakGroup::random());
    std::set<std::vector<std::string>> draws;
    for (int i = 0; i < 5; ++i) {
        main.reload();
        auto ids = shown();
        EXPECT_EQ(ids.size(), 5u);
        EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), 5u);
        draws.insert(ids);
    }
    EXPECT_GT(draws.size(), 1u);
}

TEST_F(TweaksHolderTest, scriptTweaksFollowTheBuiltInsAndCanBeDeleted) {
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("S1", "Script #1"));
    scripts.changed.emit();
    EXPECT_EQ(shown().size(), builtins + 1);
    EXPECT_EQ(catalogue.allTweaks().back()->id(), "S1");

    auto script = catalogue.find("S1");
    auto menu = contextMenuItems(*script, TweaksPlace::main);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[2].title, "Delete");
    main.handle(TweakCellAction::delete_, script);
    EXPECT_EQ(shown().size(), builtins);
    EXPECT_EQ(main.hudStyle.get(), HUD::deleted);
}

TEST_F(TweaksHolderTest, contextMenusOfferWhatTheTweakAndPlaceAllow) {
    auto titles = [](const std::vector<ContextMenuItem>& items) {
        std::vector<std::string_view> out;
        for (const auto& item : items)
            out.push_back(item.title);
        return out;
    };
    EXPECT_EQ(titles(contextMenuItems(*tweak("EmptyTrashTask"), TweaksPlace::main)),
              (std::vector<std::string_view>{"Refresh", "Configure"}));
    EXPECT_EQ(
        titles(contextMenuItems(*tweak("AutoHideDockTask"), TweaksPlace::compact)),
        (std::vector<std::string_view>{"Refresh", "Configure", "Reset Default", "Move to top"}));
}

TEST_F(TweaksHolderTest, cellActionsConfigureRefreshAndReset) {
    auto dock = tweak("AutoHideDockTask");
    main.handle(TweakCellAction::configure, dock);
    EXPECT_EQ(main.configuredTask.get(), dock);
    EXPECT_TRUE(main.showsConfigureView.get());
    main.handle(TweakCellAction::refresh, dock);
    EXPECT_EQ(main.hudStyle.get(), HUD::refreshed);
    main.handle(TweakCellAction::reset, dock);
    EXPECT_EQ(main.hudStyle.get(), HUD::reset);
    EXPECT_EQ(journal,
              (std::vector<std::string>{"refresh AutoHideDockTask", "reset AutoHideDockTask"}));
}

TEST_F(TweaksHolderTest, eachLabelHidesOneSecondAfterItWasShown) {
    main.showHUD(HUD::run);
    queue.advance(500ms);
    main.showHUD(HUD::copied);
    EXPECT_TRUE(main.showsHUD.get());
    queue.advance(500ms);
    EXPECT_FALSE(main.showsHUD.get());  // the first label's hide is not cancelled
    EXPECT_EQ(main.hudStyle.get(), HUD::copied);
    queue.advance(5s);
    main.showHUD(HUD::run);
    queue.advance(999ms);
    EXPECT_TRUE(main.showsHUD.get());
    queue.advance(1ms);
    EXPECT_FALSE(main.showsHUD.get());
}

TEST_F(TweaksHolderTest, rapidSwitchingShowsTheFirstStateAtOnceAndTheLatestASecondLater) {
    std::vector<HUD> styles;
    auto watch = main.hudStyle.subscribe([&](const HUD& style) { styles.push_back(style); });
    for (int i = 0; i < 10; ++i) {
        notifications.taskDidRun.emit(i % 2 == 1);  // off, on, off, ... on
        queue.advance(90ms);
    }
    EXPECT_EQ(styles, std::vector<HUD>{HUD::toggleOff});
    queue.advance(1s);
    EXPECT_EQ(styles, (std::vector<HUD>{HUD::toggleOff, HUD::toggleOn}));
    queue.advance(5s);
    notifications.taskDidRun.emit(std::nullopt);
    EXPECT_EQ(styles.back(), HUD::run);
}

TEST_F(TweaksHolderTest, thePopoverListsAWorkflowInItsOwnOrderAndMovesToTop) {
    Workflow favorite{"favorite", "Favorite", "star", "Yellow"};
    store.preference.modify([&](Preference& preference) {
        preference.workflows = {favorite, {"other", "Other", "bolt", "Red"}};
        preference.taskWorkflows = {{"SnapWindowsTask", "favorite"},
                                    {"EmptyTrashTask", "other"},
                                    {"GoneScript", "favorite"},
                                    {"AeroShakeTask", "favorite"},
                                    {"DimTask", "favorite"}};
    });
    TweaksHolder popover(TweaksPlace::compact, catalogue, store, queue, notifications);
    popover.group.set(TweakGroup::all());
    EXPECT_TRUE(popover.tweaks->empty());  // only a workflow fills the popover
    popover.group.set(TweakGroup::workflow(favorite));
    EXPECT_EQ(idsOf(popover.tweaks.get()),
              (std::vector<std::string>{"SnapWindowsTask", "AeroShakeTask", "DimTask"}));

    popover.handle(TweakCellAction::moveTop, tweak("DimTask"));
    EXPECT_EQ(idsOf(popover.tweaks.get()),
              (std::vector<std::string>{"DimTask", "SnapWindowsTask", "AeroShakeTask"}));
    // Memberships of other workflows, and of deleted scripts, are kept.
    EXPECT_EQ(store.preference->taskWorkflows,
              (std::vector<TaskWorkflow>{{"DimTask", "favorite"},
                                         {"SnapWindowsTask", "favorite"},
                                         {"EmptyTrashTask", "other"},
                                         {"GoneScript", "favorite"},
                                         {"AeroShakeTask", "favorite"}}));
}

}  // namespace
}  // namespace quorvane::core

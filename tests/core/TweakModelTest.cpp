#include <gtest/gtest.h>

#include <unordered_set>

#include "core/AnyTweak.hpp"
#include "core/HUD.hpp"
#include "core/SidebarTag.hpp"
#include "core/TweakGroup.hpp"

namespace quorvane::core {
namespace {

// A minimal tweak that supplies only what every tweak must.
class BareTweak final : public Tweak {
  public:
    explicit BareTweak(std::string id) : id_(std::move(id)) {}
    const std::string& id() const override { return id_; }
    const std::string& name() const override { return id_; }
    const std::string& description() const override { return id_; }
    const std::string& icon() const override { return icon_; }
    const std::vector<Category>& categories() const override { return categories_; }

  private:
    std::string id_;
    std::string icon_ = "📜";
    std::vector<Category> categories_{Category::script};
};

std::shared_ptr<Tweak> builtin(std::string id, Category category = Category::window) {
    return std::make_shared<BuiltinTweak>(TweakInfo{.id = std::move(id),
                                                    .name = "Name",
                                                    .description = "Description",
                                                    .icon = "🪟",
                                                    .categories = {category}});
}

TEST(TweakModel, unsuppliedRequirementsHaveTheirDefaults) {
    BareTweak tweak("ScriptTweak");
    EXPECT_EQ(tweak.explanation(), "");
    EXPECT_EQ(tweak.docUrl(), "");
    EXPECT_FALSE(tweak.hasMoreConfigure());
    EXPECT_TRUE(tweak.configureView().isEmpty());
    EXPECT_FALSE(tweak.shouldMenuBar());
    EXPECT_FALSE(tweak.hasExtra());
    EXPECT_FALSE(tweak.canReset());
}

TEST(TweakModel, anyTweakIsTheSameTweakWhenTheIdsMatchWhateverItsKind) {
    AnyTweak builtIn(builtin("SnapWindowsTask"));
    AnyTweak script(std::make_shared<BareTweak>("SnapWindowsTask"));
    AnyTweak other(std::make_shared<BareTweak>("snapWindowsTask"));
    EXPECT_EQ(builtIn, script);
    EXPECT_NE(script, other);
    std::unordered_set<AnyTweak> set{builtIn, script, other};
    EXPECT_EQ(set.size(), 2u);
}

TEST(TweakModel, groupsSelectByCategoryListWorkflowOrEverything) {
    Preference preference;
    Workflow favorite{"favorite", "Favorite", "star", "Yellow"};
    preference.taskWorkflows.push_back({"AeroShakeTask", "favorite"});
    preference.taskWorkflows.push_back({"SnapWindowsTask", "other"});

    auto shake = builtin("AeroShakeTask", Category::window);
    auto snap = builtin("SnapWindowsTask", Category::window);
    auto dock = builtin("ResetDockTask", Category::dock);

    EXPECT_TRUE(TweakGroup::new_().includes(*shake, preference));
    EXPECT_TRUE(TweakGroup::popular().includes(*shake, preference));
    EXPECT_FALSE(TweakGroup::popular().includes(*snap, preference));
    EXPECT_TRUE(TweakGroup::category(Category::window).includes(*snap, preference));
    EXPECT_FALSE(TweakGroup::category(Category::window).includes(*dock, preference));
    EXPECT_TRUE(TweakGroup::workflow(favorite).includes(*shake, preference));
    EXPECT_FALSE(TweakGroup::workflow(favorite).includes(*snap, preference));
    EXPECT_TRUE(TweakGroup::all().includes(*dock, preference));
    EXPECT_TRUE(TweakGroup::random().includes(*dock, preference));

    Workflow renamed = favorite;
    renamed.name = "Favourites";
    EXPECT_NE(TweakGroup::workflow(favorite), TweakGroup::workflow(renamed));
    EXPECT_EQ(TweakGroup::workflow(favorite), TweakGroup::workflow(favorite));
    EXPECT_NE(std::hash<TweakGroup>{}(TweakGroup::new_()),
              std::hash<TweakGroup>{}(TweakGroup::popular()));
    EXPECT_EQ(TweakGroup::category(Category::statusMenu).title(), "Status Menu");
    EXPECT_EQ(TweakGroup::random().title(), "Random");

    EXPECT_EQ(SidebarTag::tweaks(TweakGroup::all()), SidebarTag::tweaks(TweakGroup::all()));
    EXPECT_NE(SidebarTag::tweaks(TweakGroup::all()), SidebarTag::automation());
    EXPECT_NE(SidebarTag::automation(), SidebarTag::settings());
}

TEST(TweakModel, runAndToggleOnShareASymbolAndEveryStyleHasATitle) {
    EXPECT_EQ(hudLabel(HUD::run).symbol, hudLabel(HUD::toggleOn).symbol);
    for (HUD hud : allHUDs) {
        EXPECT_FALSE(hudLabel(hud).title.empty());
        if (hud != HUD::run && hud != HUD::toggleOn) {
            EXPECT_NE(hudLabel(hud).symbol, hudLabel(HUD::run).symbol);
        }
    }
}

}  // namespace
}  // namespace quorvane::core

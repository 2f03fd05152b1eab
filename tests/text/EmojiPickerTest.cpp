#include <gtest/gtest.h>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "text/TextFixture.hpp"
#include "text/emoji/EmojiPickerTask.hpp"

namespace quorvane::text {
namespace {

using platform::sim::SimDesktopCommand;

struct RecordingPopover final : EmojiPickerView {
    void present(platform::Rect at) override {
        presented = true;
        anchor = at;
    }
    void withdraw() override { presented = false; }
    bool isPresented() const override { return presented; }
    void setEmojis(std::shared_ptr<const EmojiIndex>, std::vector<std::size_t> shown,
                   EmojiCategory chosen) override {
        cells = shown.size();
        category = chosen;
    }
    void showToast(const std::string& text) override { toasts.push_back(text); }
    bool presented = false;
    platform::Rect anchor{};
    std::size_t cells = 0;
    EmojiCategory category = EmojiCategory::recent;
    std::vector<std::string> toasts;
};

class EmojiPicker : public TextFixture {
  protected:
    void SetUp() override {
        services.statusBar = &desktop;
        services.makePickerPopover = [this] {
            auto made = std::make_unique<RecordingPopover>();
            popover = made.get();
            return made;
        };
        const auto& rows = core::builtinCatalogue();
        const auto row = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
            return candidate.info.id == "EmojiPickerTask";
        });
        task = std::make_shared<EmojiPickerTask>(row->info, *core::pStateField(*row), services);
        core::switchAndApply(*task, true, true);
        settle();
    }

    EmojiPickerManager& manager() { return task->manager(); }
    std::string menuBar() {
        return desktop.perform(SimDesktopCommand::parse(std::vector<std::string>{"menubar"}).value())
            .value();
    }
    void clickItem() {
        // The first item sits 200 points plus its width left of the right edge.
        ASSERT_TRUE(desktop.perform(
            SimDesktopCommand::parse(std::vector<std::string>{"click", "1230", "10"}).value()));
        settle();
    }
    const Emoji& withAlias(const std::string& alias) {
        for (const auto& emoji : manager().index()->table())
            if (emoji.aliases && std::find(emoji.aliases->begin(), emoji.aliases->end(), alias) !=
                                     emoji.aliases->end())
                return emoji;
        throw std::runtime_error("no emoji " + alias);
    }
    std::string textEditText() { return desktop.text(platform::sim::SimWindowServer::textEditPid); }

    std::shared_ptr<EmojiPickerTask> task;
    RecordingPopover* popover = nullptr;
};

TEST_F(EmojiPicker, theStatusItemComesAndGoesWithTheSwitchAndTogglesThePopover) {
    EXPECT_NE(menuBar().find("Emoji Picker"), std::string::npos) << menuBar();
    clickItem();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->presented);
    EXPECT_EQ(popover->anchor.origin.y, 900 - 25);  // the menu bar, in Cocoa space
    clickItem();
    EXPECT_FALSE(popover->presented);
    core::switchAndApply(*task, false, true);
    EXPECT_EQ(menuBar().find("Emoji Picker"), std::string::npos);
}

// With no tray host to show the item, switching on would show nothing: it
// is refused with the reason and the switch stays off.
TEST_F(EmojiPicker, withNoStatusAreaItIsRefusedAndStaysOff) {
    core::switchAndApply(*task, false, true);
    services.statusAreaShown = [] { return false; };
    const auto refused = core::switchAndApply(*task, true, true);
    EXPECT_EQ(refused.kind(), core::RunOutcome::Kind::refused);
    EXPECT_EQ(refused.reason(), "the desktop has no status area (system tray) to show its item in");
    EXPECT_FALSE(task->isOn());
    EXPECT_EQ(menuBar().find("Emoji Picker"), std::string::npos);
    services.statusAreaShown = [] { return true; };
    EXPECT_TRUE(core::switchAndApply(*task, true, true).isDone());
    EXPECT_NE(menuBar().find("Emoji Picker"), std::string::npos);
}

TEST_F(EmojiPicker, recentsKeepTheNewestFirstWithoutDuplicatesAndFiftyAtMost) {
    const auto& party = withAlias("tada");
    manager().copy(party);
    manager().copy(withAlias("+1"));
    manager().copy(party);
    EXPECT_EQ(manager().recentEmojis(), (std::vector<std::string>{party.emoji, withAlias("+1").emoji}));
    EXPECT_EQ(popover, nullptr);  // copying needs no popover

    // Fifty-one distinct picks: the oldest goes.
    const auto& table = manager().index()->table();
    for (std::size_t i = 0; i < 51; ++i)
        manager().copy(table[i]);
    auto recents = manager().recentEmojis();
    ASSERT_EQ(recents.size(), 50u);
    EXPECT_EQ(recents.front(), table[50].emoji);
    EXPECT_EQ(recents.back(), table[1].emoji);
    // Picking one of the fifty again drops nothing.
    manager().copy(table[10]);
    recents = manager().recentEmojis();
    EXPECT_EQ(recents.size(), 50u);
    EXPECT_EQ(recents.front(), table[10].emoji);
    EXPECT_EQ(recents.back(), table[1].emoji);
    EXPECT_EQ(pasteboard.string(), table[10].emoji);
}

TEST_F(EmojiPicker, aPickPastesWhereTheUserWasButOnlyCopiesWhenWeWereInFront) {
    // We are in front when the simulated Mac starts.
    clickItem();
    manager().setSearchText("tada");
    settle();
    ASSERT_EQ(manager().emojis().size(), 1u);
    popover->picked(0);
    settle();
    EXPECT_EQ(pasteboard.string(), "\U0001F389");
    EXPECT_FALSE(popover->presented);
    EXPECT_EQ(textEditText(), "");

    ASSERT_TRUE(desktop.perform(SimDesktopCommand::parse(std::vector<std::string>{"app", "activate", "200"}).value()));
    clickItem();
    popover->picked(0);
    settle();
    EXPECT_EQ(textEditText(), "\U0001F389");
    EXPECT_EQ(typing.typed, 1);  // typed: a terminal takes no paste shortcut
    // Where it cannot be typed, it is pasted.
    typing.refuses = true;
    clickItem();
    popover->picked(0);
    settle();
    EXPECT_EQ(textEditText(), "\U0001F389\U0001F389");
    EXPECT_EQ(typing.typed, 1);
    // The copy-only action says so.
    popover->copied(0);
    EXPECT_EQ(popover->toasts, std::vector<std::string>{"Copied"});
}

TEST_F(EmojiPicker, searchCrossesCategoriesAndOtherwiseTheCategoryIsShownInTableOrder) {
    clickItem();
    manager().setCategory(EmojiCategory::foodDrink);
    manager().setSearchText("CAT");
    settle();
    const auto& table = manager().index()->table();
    const auto cat = std::find_if(table.begin(), table.end(), [](const Emoji& emoji) {
        return emoji.description == "cat face";
    });
    ASSERT_NE(cat, table.end());
    const auto position = static_cast<std::size_t>(cat - table.begin());
    EXPECT_NE(std::find(manager().emojis().begin(), manager().emojis().end(), position),
              manager().emojis().end());
    EXPECT_EQ(popover->cells, manager().emojis().size());

    manager().setSearchText("");
    settle();
    ASSERT_FALSE(manager().emojis().empty());
    EXPECT_TRUE(std::is_sorted(manager().emojis().begin(), manager().emojis().end()));
    for (auto shown : manager().emojis())
        EXPECT_EQ(table[shown].category, "Food & Drink");
    EXPECT_EQ(popover->category, EmojiCategory::foodDrink);

    // Recent: the recents in their order. An older search's result is dropped.
    manager().copy(table[5]);
    manager().copy(table[2]);
    manager().setCategory(EmojiCategory::recent);
    manager().setSearchText("c");
    manager().setSearchText("");
    settle();
    EXPECT_EQ(manager().emojis(), (std::vector<std::size_t>{2, 5}));

    // A search left when the popover closes is gone at the next opening:
    // the category's whole list again.
    manager().setCategory(EmojiCategory::foodDrink);
    manager().setSearchText("cat");
    settle();
    clickItem();
    ASSERT_FALSE(popover->presented);
    clickItem();
    ASSERT_TRUE(popover->presented);
    ASSERT_FALSE(manager().emojis().empty());
    for (auto shown : manager().emojis())
        EXPECT_EQ(table[shown].category, "Food & Drink");
    EXPECT_EQ(popover->cells, manager().emojis().size());
}

}  // namespace
}  // namespace quorvane::text

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileOps.hpp"
#include "text/emoji/EmojiLoader.hpp"
#include "ui/scripts/EmojiPicker.hpp"
#include "ui/text/EmojiAliasPanel.hpp"
#include "ui/text/EmojiPickerPopover.hpp"

namespace quorvane::ui {
namespace {

struct EmojiViews : ::testing::Test {
    int argc = 1;
    char name[16] = "emoji-views";
    char* argv[1] = {name};
    QApplication application{argc, argv};
    platform::memory::MemoryLog log;
    std::shared_ptr<const text::EmojiIndex> index =
        std::make_shared<const text::EmojiIndex>(
            text::EmojiLoader(QUORVANE_EMOJI_TABLE, log, platform::posix::readFile).load());

    static void save(QWidget& widget, const char* file) {
        QDir().mkpath(QUORVANE_SCREENSHOTS);
        EXPECT_TRUE(widget.grab().save(QStringLiteral(QUORVANE_SCREENSHOTS "/") + file));
    }
};

TEST_F(EmojiViews, theShortcodePanelListsEveryMatchOrSaysThereIsNone) {
    EmojiAliasPanel panel;
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(panel.windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_EQ(panel.size(), QSize(240, 300));
    const auto matches = index->aliasMatches(":sm");
    ASSERT_GT(matches.size(), 10u);
    panel.setMatches(index, matches, 1);
    panel.show();
    QApplication::processEvents();
    EXPECT_EQ(panel.list()->model()->rowCount(), static_cast<int>(matches.size()));
    EXPECT_EQ(panel.list()->currentIndex().row(), 1);
    EXPECT_EQ(panel.list()->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(panel.list()->selectionModel()->isRowSelected(1));
    EXPECT_FALSE(panel.emptyState()->isVisible());
    // A row is the emoji and its aliases joined by spaces.
    const auto& first = index->table()[matches.front()];
    QString aliases;
    for (const auto& alias : *first.aliases)
        aliases += (aliases.isEmpty() ? "" : " ") + QString::fromStdString(alias);
    EXPECT_EQ(panel.list()->model()->index(0, 0).data().toString(), aliases);
    save(panel, "emoji-alias-panel.png");

    panel.setMatches(index, {}, std::nullopt);
    QApplication::processEvents();
    EXPECT_TRUE(panel.emptyState()->isVisible());
    EXPECT_FALSE(panel.list()->isVisible());
    save(panel, "emoji-alias-empty.png");
}

TEST_F(EmojiViews, thePickerHighlightsItsCategoryAndReportsSearchesAndPicks) {
    EmojiPickerPopover popover;
    EXPECT_EQ(popover.size(), QSize(400, 400));
    std::string searched;
    std::optional<std::size_t> picked;
    popover.searchChanged = [&](const std::string& text) { searched = text; };
    popover.picked = [&](std::size_t position) { picked = position; };
    std::vector<std::size_t> smileys;
    for (std::size_t i = 0; i < index->table().size(); ++i)
        if (index->table()[i].category == "Smileys & Emotion")
            smileys.push_back(i);
    popover.setEmojis(index, smileys, text::EmojiCategory::smileysEmotion);
    popover.show();
    QApplication::processEvents();
    EXPECT_TRUE(popover.categoryButton(text::EmojiCategory::smileysEmotion)->isChecked());
    EXPECT_FALSE(popover.categoryButton(text::EmojiCategory::recent)->isChecked());
    save(popover, "emoji-picker.png");

    popover.searchField()->setText("cat");
    EXPECT_EQ(searched, "cat");
    popover.setEmojis(index, index->searchMatches("cat"), text::EmojiCategory::smileysEmotion);
    QApplication::processEvents();
    save(popover, "emoji-picker-search.png");
    auto* grid = popover.grid()->view();
    Q_EMIT grid->clicked(grid->model()->index(2, 0));
    EXPECT_EQ(picked, 2u);
    // By keyboard: Return in the search field takes the first emoji; Down
    // moves into the grid, where Return takes the one chosen.
    QTest::keyClick(popover.searchField(), Qt::Key_Return);
    EXPECT_EQ(picked, 0u);
    QTest::keyClick(popover.searchField(), Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(picked, 1u);

    // Nothing to show says why, in place of the grid.
    popover.setEmojis(index, {}, text::EmojiCategory::smileysEmotion);
    EXPECT_TRUE(popover.emptyState()->isVisible());
    EXPECT_FALSE(popover.grid()->isVisible());
    EXPECT_EQ(popover.emptyState()->text(), QString::fromUtf8("No emoji match \u201ccat\u201d"));
    popover.searchField()->clear();
    popover.setEmojis(index, {}, text::EmojiCategory::recent);
    EXPECT_EQ(popover.emptyState()->text(), "Emoji you pick will show here.");

    // Each opening starts with an empty search, quietly (the manager
    // starts its own afresh); Escape closes it from the field or the grid.
    for (QWidget* from :
         {static_cast<QWidget*>(popover.searchField()), static_cast<QWidget*>(grid)}) {
        popover.searchField()->setText("cat");
        searched.clear();
        popover.present({{100, 100}, {22, 22}});
        ASSERT_TRUE(popover.isPresented());
        EXPECT_TRUE(popover.searchField()->text().isEmpty());
        EXPECT_TRUE(searched.empty());
        QTest::keyClick(from, Qt::Key_Escape);
        EXPECT_FALSE(popover.isPresented());
    }
}

TEST_F(EmojiViews, theScriptEditorsChooserShowsTheWholeTableAndSearchesIt) {
    // The table arrives after the chooser first opens, as a load does.
    EmojiPicker::Deliver later;
    EmojiPicker::setSource([&](EmojiPicker::Deliver deliver) { later = std::move(deliver); });
    EmojiPicker picker(QStringLiteral("\U0001F680"));
    QString chosen;
    picker.chosen = [&](const QString& emoji) { chosen = emoji; };
    Q_EMIT picker.menu()->aboutToShow();
    EXPECT_EQ(picker.grid()->view()->model()->rowCount(), 0);
    ASSERT_TRUE(later);
    later(index);
    EXPECT_EQ(picker.grid()->view()->model()->rowCount(), static_cast<int>(index->table().size()));
    auto* field = picker.menu()->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setText("tada");
    ASSERT_EQ(picker.grid()->view()->model()->rowCount(), 1);
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_EQ(picker.grid()->view()->currentIndex().row(), 0);
    Q_EMIT field->returnPressed();
    EXPECT_EQ(chosen, QString::fromUtf8("\U0001F389"));
    EmojiPicker::setSource(nullptr);
}

}  // namespace
}  // namespace quorvane::ui

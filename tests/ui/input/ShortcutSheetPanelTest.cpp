#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "ui/input/ShortcutSheetPanel.hpp"

namespace quorvane::ui {
namespace {

// What the panel's controls asked for.
struct Asked final : input::ShortcutSheetController {
    std::vector<std::string> searches;
    std::vector<std::size_t> selected, starred, performed;
    int dismissed = 0;
    void setSearchText(std::string text) override { searches.push_back(std::move(text)); }
    void select(std::size_t row) override { selected.push_back(row); }
    void toggleFavorite(std::size_t row) override { starred.push_back(row); }
    void performRow(std::size_t row) override { performed.push_back(row); }
    void dismiss() override { ++dismissed; }
};

struct ShortcutSheetPanelTest : ::testing::Test {
    int argc = 1;
    char name[16] = "shortcut-sheet";
    char* argv[1] = {name};
    QApplication application{argc, argv};
    Asked asked;
    std::shared_ptr<input::ShortcutInfo> info = [] {
        auto made = std::make_shared<input::ShortcutInfo>();
        made->name = "TextEdit";
        made->menus.push_back({.name = "File", .menuPaths = {"File"}});
        for (const char* key : {"New", "Open", "Save"})
            made->menus[0].keys.push_back(
                {.id = key, .name = key, .parts = {{"⌘", "Command"}, {"N", "N"}}, .menuPaths = {"File"}});
        return made;
    }();

    input::ShortcutSheetState state(std::string search = {}) {
        input::ShortcutSheetState made{.appName = "TextEdit", .searchText = search, .info = info};
        for (const auto* key : input::allKeys(*info))
            if (search.empty() || key->name.find(search) != std::string::npos)
                made.rows.push_back({key, key->name == "Save"});
        return made;
    }
};

TEST_F(ShortcutSheetPanelTest, rowsSearchStarsAndTheEmptyStateAskTheController) {
    ShortcutSheetPanel panel(asked);
    panel.present({{0, 0}, {1440, 900}});
    auto shown = state();
    shown.selected = 1;
    panel.show(shown);
    QApplication::processEvents();
    ASSERT_EQ(panel.list()->model()->rowCount(), 3);
    EXPECT_EQ(panel.list()->currentIndex().row(), 1);
    EXPECT_FALSE(panel.emptyState()->isVisible());
    EXPECT_TRUE(panel.list()->model()->index(2, 0).data(ShortcutRowModel::favoriteRole).toBool());
    // Showing the state is not the user's doing: nothing was asked.
    EXPECT_TRUE(asked.searches.empty());
    EXPECT_TRUE(asked.selected.empty());

    // Typing asks for the search; the star of a row stars it; a double
    // click presses the row.
    QTest::keyClicks(panel.searchField(), "Sa");
    EXPECT_EQ(asked.searches, (std::vector<std::string>{"S", "Sa"}));
    const QRect row = panel.list()->visualRect(panel.list()->model()->index(0, 0));
    QTest::mouseClick(panel.list()->viewport(), Qt::LeftButton, {},
                      ShortcutSheetPanel::starRect(row).center());
    EXPECT_EQ(asked.starred, std::vector<std::size_t>{0});
    // As the window system sends it: a click, then the second press.
    QTest::mouseClick(panel.list()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(panel.list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(asked.performed, std::vector<std::size_t>{0});

    panel.show(state("zzz"));
    QApplication::processEvents();
    EXPECT_FALSE(panel.list()->isVisible());
    EXPECT_TRUE(panel.emptyState()->isVisible());
    EXPECT_EQ(panel.emptyState()->text(), QString::fromUtf8("No shortcut matches \u201czzz\u201d"));
}

}  // namespace
}  // namespace quorvane::ui

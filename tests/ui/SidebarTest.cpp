#include <QAccessible>
#include <QApplication>
#include <QSignalBlocker>
#include <QTest>

#include "ui/Sidebar.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

struct SidebarTest : testing::UiFixture {
    SidebarTest() {
        for (const char* title : {"All", "New", "Finder", "Activity"})
            sidebar.insertEntry(-1, {}, QString::fromLatin1(title), sidebar.count());
        sidebar.onCurrentChanged([this](SidebarEntry* entry) {
            told << (entry ? entry->title() : QStringLiteral("none"));
        });
        sidebar.resize(210, 300);
        sidebar.show();
    }

    QStringList highlighted() const {
        QStringList titles;
        for (int row = 0; row < sidebar.count(); ++row)
            if (sidebar.entry(row)->isChecked())
                titles << sidebar.entry(row)->title();
        return titles;
    }

    Sidebar sidebar;
    QStringList told;
};

// One entry is current and highlighted however it got there: the keys, a
// click, or from code; a click on the current one tells nothing new.
TEST_F(SidebarTest, keysAndClicksMoveTheOneCurrentEntry) {
    sidebar.setCurrentRow(0);
    sidebar.setFocus();
    QTest::keyClick(&sidebar, Qt::Key_Down);
    QTest::keyClick(&sidebar, Qt::Key_Down);
    QTest::keyClick(&sidebar, Qt::Key_Up);
    EXPECT_EQ(sidebar.currentRow(), 1);
    QTest::keyClick(&sidebar, Qt::Key_End);
    QTest::keyClick(&sidebar, Qt::Key_Down);  // stays on the last
    EXPECT_EQ(sidebar.currentEntry()->title(), "Activity");
    QTest::keyClick(&sidebar, Qt::Key_Home);
    QTest::keyClick(&sidebar, Qt::Key_Up);  // stays on the first
    QTest::mouseClick(sidebar.entry(2), Qt::LeftButton);
    QTest::mouseClick(sidebar.entry(2), Qt::LeftButton);
    EXPECT_EQ(told, (QStringList{"All", "New", "Finder", "New", "Activity", "All", "Finder"}));
    EXPECT_EQ(highlighted(), QStringList{"Finder"});
    EXPECT_FALSE(sidebar.entry(2)->hasFocus());

    auto* accessible = QAccessible::queryAccessibleInterface(sidebar.entry(2));
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Finder");
    EXPECT_TRUE(accessible->state().checked);
}

// Entries come and go in place; a blocked sidebar moves silently, and the
// current entry taken away leaves none current.
TEST_F(SidebarTest, entriesInsertedAndRemovedKeepTheRestInOrder) {
    auto* workflow = sidebar.insertEntry(2, {}, QStringLiteral("Morning"), 9);
    EXPECT_EQ(sidebar.row(workflow), 2);
    EXPECT_EQ(sidebar.entry(3)->title(), "Finder");
    EXPECT_EQ(workflow->destination(), 9);
    {
        const QSignalBlocker quiet(&sidebar);
        sidebar.setCurrentEntry(workflow);
    }
    EXPECT_TRUE(told.isEmpty());
    sidebar.removeEntry(workflow);
    EXPECT_EQ(told, QStringList{"none"});
    EXPECT_EQ(sidebar.currentEntry(), nullptr);
    EXPECT_EQ(sidebar.count(), 4);
    EXPECT_EQ(sidebar.row(workflow), -1);
    EXPECT_EQ(sidebar.entry(2)->title(), "Finder");
    EXPECT_TRUE(highlighted().isEmpty());
}

// Moved to by the keys past the bottom, an entry scrolls into sight.
TEST_F(SidebarTest, theCurrentEntryIsScrolledIntoSight) {
    for (int index = 0; index < 40; ++index)
        sidebar.insertEntry(-1, {}, QStringLiteral("Workflow %1").arg(index), 10 + index);
    sidebar.setCurrentRow(0);
    sidebar.setFocus();
    // Laid out at their own height, the column outgrowing the view.
    auto* last = sidebar.entry(sidebar.count() - 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return last->height() == last->sizeHint().height(); }, 2000));
    auto inSight = [this](const SidebarEntry* entry) {
        const QRect area = sidebar.viewport()->rect();
        const QRect shown(entry->mapTo(sidebar.viewport(), QPoint(0, 0)), entry->size());
        return area.contains(shown);
    };
    EXPECT_FALSE(inSight(sidebar.entry(sidebar.count() - 1)));
    QTest::keyClick(&sidebar, Qt::Key_End);
    QApplication::processEvents();
    EXPECT_TRUE(inSight(sidebar.entry(sidebar.count() - 1)));
    QTest::keyClick(&sidebar, Qt::Key_Home);
    QApplication::processEvents();
    EXPECT_TRUE(inSight(sidebar.entry(0)));
}

}  // namespace
}  // namespace quorvane::ui

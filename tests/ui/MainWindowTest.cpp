#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "platform/memory/MemoryJournal.hpp"
#include "platform/memory/MemoryUserDefaults.hpp"
#include "ui/MainWindow.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

using namespace std::chrono_literals;

struct MainWindowTest : testing::UiFixture {
    platform::memory::MemoryJournal activity;
    MainWindow window{
        {.list = lists(),
         .journal = activity,
         .simulationNotice = "This computer is not a Mac: Quorvane drives a simulated Mac."}};

    TweakCell* cell(const std::string& id) {
        for (auto* cell : window.list()->cells())
            if (cell->tweak()->id() == id)
                return cell;
        return nullptr;
    }
};

TEST_F(MainWindowTest, aSwitchWritesTheStoreRunsTheTweakAndShowsTheLabelForASecond) {
    window.show();
    QApplication::processEvents();  // cells on screen read the system's state
    auto refreshes = [&] {
        return std::count_if(journal.begin(), journal.end(),
                             [](const std::string& e) { return e.starts_with("refresh "); });
    };
    // Cells are made as they come into view, and each tweak is refreshed
    // when its cell is first made.
    const auto madeAtFirst = window.list()->cells().size();
    EXPECT_LT(madeAtFirst, 98u);
    EXPECT_EQ(refreshes(), static_cast<long>(madeAtFirst));
    window.list()->verticalScrollBar()->setValue(window.list()->verticalScrollBar()->maximum());
    EXPECT_GT(window.list()->cells().size(), madeAtFirst);
    EXPECT_EQ(refreshes(), static_cast<long>(madeAtFirst));  // not on screen yet
    window.list()->finishBuilding();
    QApplication::processEvents();
    ASSERT_EQ(window.list()->cells().size(), 98u);
    EXPECT_EQ(refreshes(), 98);
    journal.clear();

    auto* dock = cell("AutoHideDockTask");
    ASSERT_TRUE(dock);
    testing::findSwitch(dock)->click();
    EXPECT_TRUE(store.mState->autoHideDock);
    EXPECT_EQ(journal.front(), "run AutoHideDockTask");
    EXPECT_TRUE(window.list()->hud()->isVisible());
    EXPECT_EQ(window.list()->hud()->text(), "Turned On");
    queue.advance(1s);
    EXPECT_FALSE(window.list()->hud()->isVisible());

    cell("EmptyTrashTask")->findChild<QPushButton*>()->click();
    EXPECT_EQ(journal.back(), "run EmptyTrashTask");
}

TEST_F(MainWindowTest, theSearchFieldFiltersOnceTypingPauses) {
    window.show();
    QTest::keyClicks(window.search(), "dock");
    EXPECT_EQ(window.holder().tweaks->size(), 98u);
    queue.advance(200ms);
    EXPECT_EQ(window.list()->cells().size(), 10u);
    // No match: the list says so, centred; a new group starts unfiltered.
    QTest::keyClicks(window.search(), "zzz");
    queue.advance(200ms);
    EXPECT_TRUE(window.list()->emptyState()->isVisible());
    EXPECT_EQ(window.list()->emptyState()->text(), "No tweaks match \u201cdockzzz\u201d");
    save(window, "empty-search.png");
    window.sidebar()->setCurrentRow(4);  // the first category: Finder
    EXPECT_EQ(window.holder().group->title(), "Finder");
    EXPECT_TRUE(window.search()->text().isEmpty());
    queue.advance(200ms);
    EXPECT_FALSE(window.list()->emptyState()->isVisible());
}

TEST_F(MainWindowTest, settingsOpensItsOwnWindowAndTheKeysDoWhatTheMenuWould) {
    int settingsOpened = 0;
    MainWindow shortcuts({.list = lists(),
                          .journal = activity,
                          .simulationNotice = {},
                          .openSettings = [&] { ++settingsOpened; }});
    shortcuts.show();
    QApplication::setActiveWindow(&shortcuts);
    EXPECT_GE(shortcuts.minimumWidth(), MainWindow::narrowestWidth);
    shortcuts.sidebar()->setCurrentRow(4);
    // Settings opens, and the sidebar still shows where the user was.
    shortcuts.sidebar()->setCurrentRow(shortcuts.sidebar()->count() - 1);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(shortcuts.sidebar()->currentRow(), 4);
    EXPECT_EQ(shortcuts.holder().group->title(), "Finder");

    QTest::keyClick(&shortcuts, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(settingsOpened, 2);
    QTest::keyClick(&shortcuts, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(shortcuts.search()->hasFocus());
    QTest::keyClick(&shortcuts, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(shortcuts.isVisible());
}

TEST_F(MainWindowTest, theWindowOpensConfigureSheetsAndSaysWhenItCloses) {
    platform::memory::MemoryUserDefaults settings;
    int closed = 0;
    MainWindow configured({.list = lists(),
                           .journal = activity,
                           .simulationNotice = {},
                           .openSettings = {},
                           .closed = [&] { ++closed; },
                           .configureViews = {},
                           .defaults = &settings});
    configured.show();
    configured.holder().configuredTask.set(catalogue.find("AutoHideDockTask"));
    configured.holder().showsConfigureView.set(true);
    auto* sheet = configured.findChild<QDialog*>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    sheet->reject();
    EXPECT_FALSE(configured.holder().showsConfigureView.get());
    configured.close();
    EXPECT_EQ(closed, 1);
}

TEST_F(MainWindowTest, screenshots) {
    store.mState.modify([](core::MState& state) { state.autoHideDock = true; });
    window.show();
    window.sidebar()->setCurrentRow(8);  // Dock
    save(window, "main-window.png");
    testing::findSwitch(window.list()->cells().front())->click();
    save(window, "feedback-label.png");
    queue.advance(1s);

    activity.record("AutoHideDockTask", "preference",
                    "defaults  write com.apple.dock autohide -bool true");
    activity.record("AutoHideDockTask", "restart", "Dock restarted");
    window.selectEntry("Activity");
    QApplication::processEvents();
    EXPECT_EQ(window.journalPage()->list()->count(), 2);
    EXPECT_TRUE(window.journalPage()->list()->item(0)->text().contains("Dock restarted"));
    save(window, "activity.png");
}

}  // namespace
}  // namespace quorvane::ui

#include "platform/memory/MemoryLog.hpp"
#include "platform/posix/FileJournal.hpp"
#include "support/TemporaryDirectory.hpp"
#include "support/WaitFor.hpp"

namespace quorvane::ui {
namespace {

// The page follows the journal's file, whoever writes it, newest first,
// with the tweak's name shown and its id at hand.
TEST_F(MainWindowTest, theActivityPageFollowsTheJournalAsItIsWritten) {
    quorvane::testing::TemporaryDirectory folder;
    platform::memory::MemoryLog fileLog;
    const auto file = folder.path() / "journal.jsonl";
    platform::posix::FileJournal written(file, fileLog);
    written.record("AutoHideDockTask", "restart", "Dock restarted");
    JournalPage page({.journal = written,
                      .file = file,
                      .nameOf = [this](const std::string& cause) {
                          auto tweak = catalogue.find(cause);
                          return tweak ? tweak->name() : cause;
                      }});
    page.show();
    ASSERT_EQ(page.list()->count(), 1);
    // Another process writes the same file.
    platform::posix::FileJournal elsewhere(file, fileLog);
    elsewhere.record("EmptyTrashTask", "script", "tell application \"Finder\" to empty trash");
    EXPECT_TRUE(quorvane::testing::waitFor([&] { return page.list()->count() == 2; }));
    EXPECT_TRUE(page.list()->item(0)->text().contains("Empty Trash · script"));
    EXPECT_EQ(page.list()->item(0)->toolTip(), "EmptyTrashTask");
}

}  // namespace
}  // namespace quorvane::ui

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "adapters/memory/MemoryJournal.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/UnavailableTweak.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "support/WaitFor.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/MainWindow.hpp"
#include "ui/TweakCell.hpp"
#include "ui/Switch.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

using namespace std::chrono_literals;

struct MainWindowTest : testing::UiFixture {
    const std::size_t builtins = core::builtinCatalogue().size();
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
    auto refreshes = [&] {
        return std::count_if(journal.begin(), journal.end(),
                             [](const std::string& e) { return e.starts_with("refresh "); });
    };
    // Cells are made as they come into view, and each tweak is refreshed
    // once its cell has been drawn: not while the window is hidden.
    QApplication::processEvents();
    const auto madeAtFirst = window.list()->cells().size();
    EXPECT_LT(madeAtFirst, builtins);
    EXPECT_EQ(refreshes(), 0);
    window.show();
    EXPECT_TRUE(quorvane::testing::waitFor(
        [&] { return refreshes() == static_cast<long>(madeAtFirst); }));
    window.list()->finishBuilding();
    EXPECT_TRUE(
        quorvane::testing::waitFor([&] { return refreshes() == static_cast<long>(builtins); }));
    ASSERT_EQ(window.list()->cells().size(), builtins);
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

TEST_F(MainWindowTest, theListMakesTheCellsInViewAndAViewAheadOnceScrolled) {
    window.resize(920, 640);
    window.show();
    QApplication::processEvents();
    auto* bar = window.list()->verticalScrollBar();
    const int view = window.list()->viewport()->height();
    ASSERT_GT(view, 200);
    // The cells fill the view and no more, drawn or not.
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_LT(bar->maximum(), view);
    const auto filling = window.list()->cells().size();

    // The first step down makes a view's worth ahead of it.
    bar->setValue(bar->singleStep());
    for (int turn = 0; turn < 5 && bar->maximum() - bar->value() < view; ++turn)
        QApplication::processEvents();
    EXPECT_GE(bar->maximum() - bar->value(), view);
    EXPECT_GT(window.list()->cells().size(), filling);
    EXPECT_LT(window.list()->cells().size(), builtins);
}

// A cell narrower than its lines cuts them short, with an ellipsis,
// rather than push its Run button past its edge (a narrow window).
TEST_F(MainWindowTest, aCellNarrowerThanItsLinesKeepsItsButtonWhole) {
    auto tweak = std::make_shared<core::testing::RecordingTweak>(
        core::TweakInfo{.id = "LongWindedTask",
                        .name = "Long-winded",
                        .description = "A description that goes on and on, well past the width "
                                       "that any narrow window leaves to a cell's lines",
                        .icon = "📜"},
        journal);
    QWidget holder;
    auto* column = new QVBoxLayout(&holder);
    auto* cell = new TweakCell(tweak, {}, false);
    column->addWidget(cell);
    holder.resize(360, 100);
    holder.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cell->width() > 0; }, 2000));
    EXPECT_LE(holder.width(), 360);
    auto* run = cell->findChild<QPushButton*>();
    ASSERT_TRUE(run);
    EXPECT_LE(run->mapTo(cell, QPoint(run->width(), 0)).x(), cell->width());
}

// Another group starts at its top: the list scrolled down in "All" would
// otherwise open the next group past its first rows.
TEST_F(MainWindowTest, anotherGroupStartsAtTheTopOfTheList) {
    window.resize(920, 420);
    window.show();
    auto* list = window.list();
    auto* bar = list->verticalScrollBar();
    auto choose = [&](const QString& title) {
        ASSERT_TRUE(window.selectEntry(title));
        queue.advance(200ms);
        list->finishBuilding();
    };
    choose(QStringLiteral("All"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 0; }, 2000));
    bar->setValue(bar->maximum());
    choose(QStringLiteral("System"));  // longer than the view
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 0; }, 2000));
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(MainWindowTest, theSearchFieldFiltersOnceTypingPauses) {
    window.show();
    QTest::keyClicks(window.search(), "dock");
    EXPECT_EQ(window.holder().tweaks->size(), builtins);
    queue.advance(200ms);
    EXPECT_EQ(window.list()->cells().size(), 10u);
    // No match: the list says so, centred; a new group starts unfiltered.
    QTest::keyClicks(window.search(), "zzz");
    queue.advance(200ms);
    EXPECT_TRUE(window.list()->emptyState()->isVisible());
    EXPECT_EQ(window.list()->emptyState()->text(),
              "No tweaks match \u201cdockzzz\u201d in any group");
    save(window, "empty-search.png");
    window.sidebar()->setCurrentRow(4);  // the first category: Finder
    EXPECT_EQ(window.holder().group->title(), "Finder");
    EXPECT_TRUE(window.search()->text().isEmpty());
    queue.advance(200ms);
    EXPECT_FALSE(window.list()->emptyState()->isVisible());
}

// Typed in a group, a search looks through every tweak, with "All" shown
// in the sidebar; cleared, the group comes back.
TEST_F(MainWindowTest, aSearchLooksEverywhereAndClearingItReturnsToTheGroup) {
    window.show();
    ASSERT_TRUE(window.selectEntry("Browser"));
    QTest::keyClicks(window.search(), "keystrokes");
    queue.advance(200ms);
    EXPECT_EQ(window.sidebar()->currentEntry()->title(), "All");
    EXPECT_EQ(window.holder().group->title(), "All");
    EXPECT_EQ(window.search()->text(), "keystrokes");
    const auto found = idsOf(window.holder().tweaks.get());
    EXPECT_NE(std::find(found.begin(), found.end(), "VisualizeKeystrokeTask"), found.end());

    window.search()->clear();
    queue.advance(200ms);
    EXPECT_EQ(window.sidebar()->currentEntry()->title(), "Browser");
    EXPECT_EQ(window.holder().group->title(), "Browser");
    EXPECT_EQ(window.holder().tweaks->size(), tweaksIn(core::Category::browser));

    // A group chosen while searching is where the user goes: the search
    // ends there and clearing nothing takes the sidebar elsewhere.
    QTest::keyClicks(window.search(), "dock");
    window.selectEntry("Finder");
    EXPECT_TRUE(window.search()->text().isEmpty());
    queue.advance(200ms);
    EXPECT_EQ(window.sidebar()->currentEntry()->title(), "Finder");
    EXPECT_EQ(window.holder().tweaks->size(), tweaksIn(core::Category::finder));
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
    // Clicked, too: the highlight stays with the page shown (Activity).
    ASSERT_TRUE(shortcuts.selectEntry("Activity"));
    auto* sidebar = shortcuts.sidebar();
    QTest::mouseClick(sidebar->entry(sidebar->count() - 1), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(settingsOpened, 2);
    QStringList highlighted;
    for (int row = 0; row < sidebar->count(); ++row)
        if (sidebar->entry(row)->isChecked())
            highlighted << sidebar->entry(row)->title();
    EXPECT_EQ(highlighted, QStringList{"Activity"});
    EXPECT_EQ(sidebar->currentEntry()->title(), "Activity");
    shortcuts.sidebar()->setCurrentRow(4);

    QTest::keyClick(&shortcuts, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(settingsOpened, 3);
    QTest::keyClick(&shortcuts, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(shortcuts.search()->hasFocus());
    QTest::keyClick(&shortcuts, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(shortcuts.isVisible());

    // Ctrl+Q ends the event loop, after which the program's normal exit
    // saves; a loop still running after two seconds says it did not.
    shortcuts.show();
    QApplication::setActiveWindow(&shortcuts);
    QTimer::singleShot(0, &shortcuts, [&] { QTest::keyClick(&shortcuts, Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(2000, &shortcuts, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
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

// A tweak that cannot work here says why in its cell, and its control is
// disabled: a one-shot's Run button as a toggle's switch.
TEST_F(MainWindowTest, anUnavailableTweaksCellSaysWhyAndCannotBeUsed) {
    for (const std::string id : {"EmptyTrashTask", "SnapWindowsTask"}) {
        SCOPED_TRACE(id);
        const auto& rows = core::builtinCatalogue();
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const auto& each) { return each.info.id == id; });
        ASSERT_NE(row, rows.end());
        int used = 0;
        TweakCell cell(core::makeUnavailableTweak(*row, store, log),
                       {.switchToggle = [&](const std::shared_ptr<core::Tweak>&, bool) { ++used; },
                        .runOneShot = [&](const std::shared_ptr<core::Tweak>&) { ++used; },
                        .showMenu = {},
                        .showInfo = {}},
                       false);
        cell.show();
        const auto* reason = cell.findChild<QLabel*>("Unavailable");
        ASSERT_TRUE(reason);
        EXPECT_EQ(reason->text().toStdString(), core::notAvailableInThisBuild);
        QAbstractButton* control = testing::findSwitch(&cell);
        if (!control)
            control = button(&cell, "Run");
        ASSERT_TRUE(control);
        EXPECT_FALSE(control->isEnabled());
        QTest::mouseClick(control, Qt::LeftButton);
        EXPECT_EQ(used, 0);
    }
}

// A tweak acting on the simulated Mac is marked so, with the reason behind
// the information button; a service this machine lacks makes a tweak
// unavailable; the setting hides the simulated ones from the list.
TEST_F(MainWindowTest, whereATweakActsIsShownAndTheSimulatedOnesCanBeHidden) {
    window.show();
    window.list()->finishBuilding();
    auto* dock = cell("AutoHideDockTask");
    auto* snap = cell("SnapWindowsTask");
    ASSERT_TRUE(dock && snap);
    const auto* mark = dock->findChild<QLabel*>("Simulated");
    ASSERT_TRUE(mark);
    EXPECT_TRUE(mark->toolTip().contains("Linux has no Dock"));
    EXPECT_FALSE(snap->findChild<QLabel*>("Simulated"));
    InfoDialog info(*dock->tweak());
    const auto* where = info.findChild<QLabel*>("ActsOn");
    ASSERT_TRUE(where);
    EXPECT_TRUE(where->text().contains("Linux has no Dock"));

    choices.set(platform::Port::desktop, platform::ActsOn::unavailable("needs an X11 session"));
    EXPECT_EQ(snap->tweak()->unavailableReason(), "needs an X11 session");
    choices.set(platform::Port::desktop, platform::ActsOn::thisDesktop());

    const auto before = window.list()->cells().size();
    store.showsSimulatedTweaks.set(false);
    window.list()->finishBuilding();
    EXPECT_FALSE(cell("AutoHideDockTask"));
    EXPECT_TRUE(cell("SnapWindowsTask"));
    EXPECT_EQ(window.list()->cells().size(), before - tweaksIn(core::Category::dock));
    EXPECT_EQ(defaults.value("Store.showsSimulatedTweaks"),
              std::optional<platform::DefaultsValue>(false));
    store.showsSimulatedTweaks.set(true);
    window.list()->finishBuilding();
    EXPECT_TRUE(cell("AutoHideDockTask"));
}

// A wide list measures its cells' lines its own way: to the same size as
// any label, so no text is cut short where there is room; only a line may
// be made narrower (cut short, with an ellipsis), never shorter.
TEST_F(MainWindowTest, cellLinesAreSizedAsAnyLabelWouldBe) {
    window.show();
    QApplication::processEvents();
    int lines = 0;
    for (auto* cell : window.list()->cells())
        for (auto* label : cell->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            QLabel plain(label->text());
            plain.setFont(label->font());
            plain.setContentsMargins(label->contentsMargins());
            EXPECT_EQ(label->sizeHint(), plain.sizeHint()) << label->text().toStdString();
            EXPECT_LE(label->minimumSizeHint().width(), plain.minimumSizeHint().width())
                << label->text().toStdString();
            EXPECT_EQ(label->minimumSizeHint().height(), plain.minimumSizeHint().height())
                << label->text().toStdString();
            ++lines;
        }
    EXPECT_GE(lines, 2 * static_cast<int>(window.list()->cells().size()));
}

// A page given as a maker costs nothing until its entry is first chosen,
// and is made once.
TEST_F(MainWindowTest, theAutomationPageIsMadeWhenFirstChosen) {
    int made = 0;
    QPointer<QLabel> page;
    window.addAutomationPage([&] {
        ++made;
        page = new QLabel(QStringLiteral("Automation page"));
        return page.data();
    });
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(made, 0);
    ASSERT_TRUE(window.selectEntry(QStringLiteral("Automation")));
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->isVisible());
    window.selectEntry(QStringLiteral("All"));
    EXPECT_FALSE(page->isVisible());
    window.selectEntry(QStringLiteral("Automation"));
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(page->isVisible());
}

// From the search field, Tab goes on into the list (the order on screen,
// not the order the window makes its parts in) and reaches each kind of
// control a cell has.
TEST_F(MainWindowTest, tabReachesEveryKindOfControlInTheCells) {
    window.show();
    QApplication::setActiveWindow(&window);
    window.sidebar()->setCurrentRow(0);  // All: switches, Run buttons and ⓘ
    window.search()->setFocus();
    QApplication::processEvents();
    bool sawSwitch = false, sawRun = false, sawInfo = false;
    for (int press = 0; press < 60 && !(sawSwitch && sawRun && sawInfo); ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* focused = QApplication::focusWidget();
        ASSERT_TRUE(focused);
        if (press == 0) {
            EXPECT_TRUE(window.list()->isAncestorOf(focused)) << "the search field's next stop";
        }
        sawSwitch = sawSwitch || dynamic_cast<Switch*>(focused) != nullptr;
        if (auto* button = dynamic_cast<QPushButton*>(focused)) {
            sawRun = sawRun || button->text() == "Run";
            sawInfo = sawInfo || button->objectName() == "Info";
        }
    }
    EXPECT_TRUE(sawSwitch);
    EXPECT_TRUE(sawRun);
    EXPECT_TRUE(sawInfo);
}

// In a dark palette secondary text stays readable, not the light palette's
// grey on a dark window.
TEST_F(MainWindowTest, aDarkPaletteKeepsEveryTextReadable) {
    const QPalette light = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Base, QColor(0x28, 0x28, 0x28));
    dark.setColor(QPalette::AlternateBase, QColor(0x2e, 0x2e, 0x2e));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Button, QColor(0x32, 0x32, 0x32));
    dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    QApplication::setPalette(dark);
    {
        MainWindow darkWindow({.list = lists(), .journal = activity, .simulationNotice = "Simulated"});
        darkWindow.show();
        darkWindow.sidebar()->setCurrentRow(8);  // Dock
        QApplication::processEvents();
        auto* cell = darkWindow.list()->cells().front();
        const QLabel* description = nullptr;
        for (const auto* label : cell->findChildren<QLabel*>())
            if (label->text().toStdString() == cell->tweak()->description())
                description = label;
        ASSERT_TRUE(description);
        const int text = description->palette().color(QPalette::WindowText).lightness();
        EXPECT_GT(text - dark.color(QPalette::Window).lightness(), 90) << text;
        save(darkWindow, "main-window-dark.png");
    }
    QApplication::setPalette(light);
}

}  // namespace
}  // namespace quorvane::ui

#include <map>
#include <optional>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryRestoreLog.hpp"
#include "adapters/posix/FileJournal.hpp"
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

    // What the journal may lack is said above it, also when said before the
    // page was first made; nothing to say shows nothing.
    window.setActivityNotice(QStringLiteral("Automation reacts only to the simulated Mac's events"));
    auto* notice = window.journalPage()->notice();
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(notice->text().startsWith(QStringLiteral("Automation reacts only")));
    window.setActivityNotice({});
    EXPECT_TRUE(notice->isHidden());
}

// The changes, each run of repeats as one line with its count; the input
// watched and made only with "Show input".
TEST_F(MainWindowTest, theActivityPageFoldsRepeatsAndShowsInputOnRequest) {
    platform::memory::MemoryJournal written;
    written.record("AutoHideDockTask", "restart", "Dock restarted");
    for (int i = 0; i < 12; ++i) {
        written.recordInput("NotchBanner", "input", "input monitoring started: left mouse down");
        written.record("HideOtherWindowsTask", "application", "hid Finder");
    }
    JournalPage page({.journal = written});
    page.show();
    ASSERT_EQ(page.list()->count(), 2);
    EXPECT_TRUE(page.list()->item(0)->text().endsWith(QStringLiteral("hid Finder  ×12")))
        << page.list()->item(0)->text().toStdString();
    EXPECT_TRUE(page.list()->item(1)->text().endsWith(QStringLiteral("Dock restarted")));

    page.showInput()->click();
    EXPECT_EQ(page.list()->count(), 25);  // one after the other, nothing repeats
    EXPECT_TRUE(page.list()->item(0)->text().endsWith(QStringLiteral("hid Finder")));
    page.showInput()->click();
    EXPECT_EQ(page.list()->count(), 2);
}

// State the fake tweaks changed, read and written back by target.
struct MapKind final : core::RestoreKind {
    std::map<std::string, std::optional<std::string>> state;
    platform::Result<std::optional<std::string>> read(const std::string& target) override {
        return state[target];
    }
    platform::Status write(const std::string& target,
                           const std::optional<std::string>& value) override {
        state[target] = value;
        return platform::success();
    }
};

// Holds each question until the test answers it.
struct HeldConfirmations final : platform::Confirmations {
    void ask(const platform::Confirmation& confirmation, Answer answer) override {
        asked.push_back(confirmation.informativeText);
        answers.push_back(std::move(answer));
    }
    std::vector<std::string> asked;
    std::vector<Answer> answers;
};

struct RestoreSectionTest : testing::UiFixture {
    platform::memory::MemoryJournal activity;
    platform::memory::MemoryRestoreLog restoreLog;
    MapKind kind;
    core::RestoreService restore{restoreLog, activity, log};
    HeldConfirmations confirmations;
    JournalPage page{{.journal = activity,
                      .file = {},
                      .nameOf = [](const std::string& cause) {
                          return cause == "AutoHideDockTask" ? std::string("Auto Hide Dock") : cause;
                      },
                      .restore = &restore,
                      .confirmations = &confirmations}};

    RestoreSectionTest() {
        restore.addKind("map", kind);
        changed("AutoHideDockTask", "dock autohide", "0", "1");
        changed("EmptyTrashTask", "idle time", "300", "60");
    }
    // A tweak's change, as it is now.
    void changed(const std::string& cause, const std::string& target, const std::string& before,
                 const std::string& after) {
        kind.state[target] = after;
        platform::RestoreEntry entry;
        entry.cause = cause;
        entry.kind = "map";
        entry.target = target;
        entry.before = before;
        entry.after = after;
        (void)restoreLog.record(entry);
    }
    QListWidget* rows() const { return page.findChild<QListWidget*>("RestoreList"); }
    // The row about `target`: its text and its Restore button.
    std::pair<QString, QPushButton*> row(const QString& target) const {
        for (int i = 0; i < rows()->count(); ++i) {
            auto* widget = rows()->itemWidget(rows()->item(i));
            if (widget->findChild<QLabel*>()->text().contains(target))
                return {widget->findChild<QLabel*>()->text(),
                        widget->findChild<QPushButton*>("RestoreEntryButton")};
        }
        return {};
    }
    QString outcome() const { return page.findChild<QLabel*>("RestoreOutcome")->text(); }
};

// One change put back goes from the list into the journal; one someone
// else changed since is left alone, and the page says so.
TEST_F(RestoreSectionTest, eachChangeIsPutBackOnItsOwnUnlessChangedSince) {
    page.show();
    ASSERT_EQ(rows()->count(), 2);
    EXPECT_TRUE(row("dock autohide").first.endsWith("Auto Hide Dock   dock autohide   0 → 1"));
    ASSERT_TRUE(row("dock autohide").second && row("idle time").second);

    row("dock autohide").second->click();
    EXPECT_EQ(kind.state["dock autohide"], "0");
    EXPECT_TRUE(outcome().startsWith("restored  #1  Auto Hide Dock")) << outcome().toStdString();
    EXPECT_TRUE(page.list()->item(0)->text().contains("put back dock autohide"));
    // Its row gone; putting back is a change of its own, which can be put back.
    EXPECT_EQ(rows()->count(), 2);
    EXPECT_TRUE(row("dock autohide").first.endsWith("Restore   dock autohide   1 → 0"));

    kind.state["idle time"] = "120";
    row("idle time").second->click();
    EXPECT_EQ(kind.state["idle time"], "120");
    EXPECT_TRUE(row("idle time").second);
    EXPECT_TRUE(outcome().contains("skipped  #2") &&
                outcome().contains("changed since by someone else: now 120") &&
                outcome().endsWith("Use quorvane restore --force to put it back anyway."))
        << outcome().toStdString();
}

// Everything goes back only once confirmed; the restores are not part of it.
TEST_F(RestoreSectionTest, restoringEverythingAsksFirst) {
    auto* all = page.findChild<QPushButton*>("RestoreAllButton");
    page.show();
    all->click();
    ASSERT_EQ(confirmations.asked.size(), 1u);
    EXPECT_NE(confirmations.asked[0].find("idle time   300 → 60"), std::string::npos);
    confirmations.answers[0]({.confirmed = false});
    EXPECT_EQ(kind.state["dock autohide"], "1");

    all->click();
    confirmations.answers.at(1)({.confirmed = true});
    EXPECT_EQ(kind.state["dock autohide"], "0");
    EXPECT_EQ(kind.state["idle time"], "300");
    EXPECT_EQ(outcome().count("restored  #"), 2);
    EXPECT_EQ(rows()->count(), 2);  // the two restores
    EXPECT_FALSE(all->isEnabled());
}

}  // namespace
}  // namespace quorvane::ui

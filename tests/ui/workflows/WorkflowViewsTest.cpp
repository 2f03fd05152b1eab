#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QEnterEvent>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/shortcuts/ShortcutService.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "simmac/SimHotkeys.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/ConfirmationPanel.hpp"
#include "ui/MainWindow.hpp"
#include "ui/Popover.hpp"
#include "ui/UiFixture.hpp"
#include "ui/shortcuts/ShortcutRecorder.hpp"
#include "ui/shortcuts/ShortcutSettingsTab.hpp"
#include "ui/workflows/WorkflowSettingsTab.hpp"

namespace quorvane::ui {
namespace {

struct WorkflowViewsTest : testing::UiFixture {
    platform::memory::MemoryJournal activity;
    MainWindow window{{.list = lists(), .journal = activity, .simulationNotice = {}}};

    QStringList sidebarTitles() {
        QStringList titles;
        for (int row = 0; row < window.sidebar()->count(); ++row)
            titles << window.sidebar()->entry(row)->title();
        return titles;
    }
};

TEST_F(WorkflowViewsTest, workflowsMadeInSettingsAppearInTheSidebarAndCellMenus) {
    workflows.createDefaultWorkflowIfNeeded();
    WorkflowSettingsTab settings(store, workflows);
    button(&settings, "New Workflow")->click();
    EXPECT_EQ(sidebarTitles().mid(21, 2), (QStringList{"Favorite", "Workflow 1"}));
    // A row's Edit and Remove show while the pointer is over it, or while
    // the keyboard is on one of them.
    // (The rows before the new workflow are retired, deleted later.)
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // (It has no meta-object: found by its C++ type.)
    HoverRow* row = nullptr;
    for (auto* widget : settings.findChildren<QWidget*>())
        if (!row)
            row = dynamic_cast<HoverRow*>(widget);
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->isRevealed());
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(row, &enter);
    EXPECT_TRUE(row->isRevealed());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(row, &leave);
    EXPECT_FALSE(row->isRevealed());
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(row->findChild<QPushButton*>(), &focus);
    EXPECT_TRUE(row->isRevealed());

    // The cell's "Workflow" submenu adds to and takes out of a workflow.
    window.selectEntry("Workflow 1");
    EXPECT_TRUE(window.list()->cells().empty());
    const auto trash = catalogue.find("EmptyTrashTask");
    auto toggleIn = [&](const QString& workflow) {
        QMenu menu;
        window.list()->fillMenu(menu, trash);
        QMenu* submenu = menu.actions().last()->menu();
        ASSERT_TRUE(submenu);
        EXPECT_EQ(menu.actions().last()->text(), "Workflow");
        for (auto* action : submenu->actions())
            if (action->text() == workflow)
                action->trigger();
    };
    toggleIn("Workflow 1");
    EXPECT_EQ(idsOf(window.holder().tweaks.get()), std::vector<std::string>{"EmptyTrashTask"});
    toggleIn("Workflow 1");
    EXPECT_TRUE(window.holder().tweaks->empty());
    toggleIn("Workflow 1");

    // Edited in its sheet: written back when the sheet closes; the sidebar follows.
    auto workflow = workflows.workflows()[1];
    CustomizeWorkflowDialog sheet(workflows, workflow);
    sheet.name()->setText("Morning");
    sheet.color()->setCurrentText("Teal");
    sheet.icon()->setCurrentText("coffee");
    EXPECT_EQ(workflows.workflows()[1].name, "Workflow 1");
    sheet.reject();
    EXPECT_EQ(workflows.workflows()[1], (core::Workflow{workflow.id, "Morning", "coffee", "Teal"}));
    EXPECT_TRUE(sidebarTitles().contains("Morning"));
    EXPECT_EQ(idsOf(window.holder().tweaks.get()), std::vector<std::string>{"EmptyTrashTask"});
    settings.resize(420, 260);
    save(settings, "settings-workflows.png");

    // Removed: its entry goes, and the list falls back to All.
    for (auto* remove : settings.rows()->findChildren<QPushButton*>())
        if (remove->text() == "Remove")
            remove->click();
    EXPECT_TRUE(workflows.workflows().empty());
    EXPECT_FALSE(sidebarTitles().contains("Morning"));
    EXPECT_EQ(window.holder().group->title(), "All");
    EXPECT_EQ(window.holder().tweaks->size(), core::builtinCatalogue().size());
}

TEST_F(WorkflowViewsTest, thePopoverHeaderChoosesTheWorkflowAndRunsItAll) {
    workflows.createDefaultWorkflowIfNeeded();
    auto second = workflows.add();
    workflows.toggle(*catalogue.find("EmptyTrashTask"), second);
    workflows.toggle(*catalogue.find("ClearClipboardTask"), second);
    Popover popover({.list = lists(),
                     .defaults = defaults,
                     .openMain = {},
                     .openSettings = {},
                     .showAbout = {},
                     .quit = {}});
    EXPECT_EQ(popover.workflowMenu()->text(), "Favorite");
    auto* menu = popover.workflowMenu()->menu();
    Q_EMIT menu->aboutToShow();
    QStringList titles;
    for (auto* action : menu->actions())
        titles << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(titles, (QStringList{"Favorite", "Workflow 1", "-", "Run All"}));
    menu->actions()[1]->trigger();
    EXPECT_EQ(store.preference->compactWorkflowId, second.id);
    EXPECT_EQ(idsOf(popover.holder().tweaks.get()),
              (std::vector<std::string>{"EmptyTrashTask", "ClearClipboardTask"}));

    // "Move to top" keeps its new order.
    popover.holder().handle(core::TweakCellAction::moveTop, catalogue.find("ClearClipboardTask"));
    EXPECT_EQ(idsOf(popover.holder().tweaks.get()),
              (std::vector<std::string>{"ClearClipboardTask", "EmptyTrashTask"}));

    Q_EMIT menu->aboutToShow();
    journal.clear();
    menu->actions().last()->trigger();
    queue.drain();
    EXPECT_EQ(journal, (std::vector<std::string>{"run ClearClipboardTask", "run EmptyTrashTask"}));
    popover.show();
    save(popover, "popover-workflow.png");
}

// Our widgets have no meta-object of their own, so findChild cannot tell them apart.
ShortcutRecorder* recorderIn(QWidget& parent) {
    for (auto* child : parent.findChildren<QWidget*>())
        if (auto* recorder = dynamic_cast<ShortcutRecorder*>(child))
            return recorder;
    return nullptr;
}

TEST_F(WorkflowViewsTest, shortcutsAreRecordedInTheSheetAndListedInSettings) {
    platform::memory::MemoryUserDefaults hotkeyStore;
    platform::sim::SimHotkeys hotkeys(hotkeyStore, log);
    core::ShortcutService shortcuts(catalogue, hotkeys);
    shortcuts.registerAll();
    shortcuts.reload();
    ConfirmationPanel confirmations;
    ShortcutSettingsTab tab(shortcuts, hotkeys, catalogue, confirmations);
    EXPECT_EQ(tab.rows()->findChildren<QLabel*>("Empty").size(), 1);
    EXPECT_FALSE(tab.removeAll()->isEnabled());  // nothing to remove

    auto describe = [this](const std::string& id) {
        return QString::fromStdString(catalogue.find(id)->name());
    };
    ConfigureSheet snapSheet(catalogue.find("SnapWindowsTask"), {}, defaults, &hotkeys, describe);
    auto* recorder = recorderIn(snapSheet);
    ASSERT_TRUE(recorder);
    recorder->record(QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    EXPECT_EQ(hotkeys.combination("SnapWindowsTask"), platform::KeyCombination{"Ctrl+Alt+S"});
    QApplication::processEvents();
    ASSERT_TRUE(recorderIn(*tab.rows()));
    EXPECT_TRUE(tab.removeAll()->isEnabled());
    hotkeys.press({"Ctrl+Alt+S"});
    EXPECT_TRUE(core::asToggle(*catalogue.find("SnapWindowsTask"))->isOn());

    ShortcutRecorder other(hotkeys, "EmptyTrashTask", describe);
    other.record(QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    EXPECT_EQ(other.message()->text(), "Ctrl+Alt+S is already the shortcut of Snap Windows.");
    other.record(QKeySequence(QStringLiteral("T")));
    EXPECT_TRUE(other.message()->text().startsWith("A shortcut needs"));
    EXPECT_FALSE(hotkeys.combination("EmptyTrashTask"));
    tab.resize(420, 220);
    save(tab, "settings-shortcuts.png");

    // "Remove All" asks first, naming how many go; cancelled, they stay.
    ConfigureSheet trashSheet(catalogue.find("EmptyTrashTask"), {}, defaults, &hotkeys, describe);
    recorderIn(trashSheet)->record(QKeySequence(QStringLiteral("Ctrl+Alt+T")));
    QApplication::processEvents();
    tab.removeAll()->click();
    ASSERT_TRUE(confirmations.last());
    EXPECT_EQ(confirmations.last()->text(), "Remove all 2 keyboard shortcuts?");
    button(confirmations.last(), "Cancel")->click();
    QApplication::processEvents();
    EXPECT_TRUE(hotkeys.combination("SnapWindowsTask"));
    tab.removeAll()->click();
    button(confirmations.last(), "Remove All")->click();
    QApplication::processEvents();
    EXPECT_EQ(tab.rows()->findChildren<QLabel*>("Empty").size(), 1);
    EXPECT_FALSE(hotkeys.press({"Ctrl+Alt+S"}));
    EXPECT_FALSE(tab.removeAll()->isEnabled());
}

}  // namespace
}  // namespace quorvane::ui

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "adapters/memory/MemoryJournal.hpp"
#include "platform/SystemEventCenter.hpp"
#include "ui/MainWindow.hpp"
#include "ui/UiFixture.hpp"
#include "ui/automation/AutomationPage.hpp"
#include "ui/automation/SelectTweakDialog.hpp"

namespace quorvane::ui {
namespace {

using Event = core::Automation::Event;
using Action = core::Automation::Action;

struct AutomationPageTest : testing::UiFixture {
    platform::memory::MemoryJournal activity;
    platform::SystemEventCenter events{activity};
    core::AutomationManager manager{catalogue, persistor, events, log};
    std::shared_ptr<core::Tweak> nextChoice;
    AutomationPage* page = new AutomationPage(manager, catalogue);
    MainWindow window{
        {.list = lists(), .journal = activity, .simulationNotice = {}, .openSettings = [this] {
             ++settingsOpened;
         }}};
    int settingsOpened = 0;

    AutomationPageTest() {
        page->setChooseTweak([this](QWidget*) { return nextChoice; });
        window.addAutomationPage(page);
    }

    QWidget* section(Event event) {
        return page->sections()->findChild<QWidget*>(
            QString::fromUtf8(core::caseName(event).data()));
    }
};

TEST_F(AutomationPageTest, theSidebarListsAutomationBeforeActivityAndSettingsOpensItsWindow) {
    const auto* sidebar = window.sidebar();
    const int automation = sidebar->count() - 3;
    EXPECT_TRUE(sidebar->entry(automation)->title().endsWith("Automation"));
    EXPECT_TRUE(sidebar->entry(automation + 1)->title().endsWith("Activity"));
    EXPECT_TRUE(sidebar->entry(automation + 2)->title().endsWith("Settings"));
    ASSERT_TRUE(window.selectEntry("Automation"));
    EXPECT_TRUE(page->isVisibleTo(&window));
    window.selectEntry("Settings");
    EXPECT_EQ(settingsOpened, 1);
}

TEST_F(AutomationPageTest, addingPickingAndRemovingEditTheRules) {
    window.show();
    window.selectEntry("Automation");
    // Seven sections, in event order, each empty at first.
    EXPECT_EQ(page->sections()->findChildren<QLabel*>("Empty").size(), 7);

    nextChoice = catalogue.find("SnapWindowsTask");
    button(section(Event::screenLocked), "Add tweak")->click();
    nextChoice = catalogue.find("EmptyTrashTask");
    button(section(Event::screenLocked), "Add tweak")->click();
    nextChoice = nullptr;  // the chooser was cancelled
    button(section(Event::screenLocked), "Add tweak")->click();
    QApplication::processEvents();

    auto pickers = section(Event::screenLocked)->findChildren<QComboBox*>();
    ASSERT_EQ(pickers.size(), 2);
    EXPECT_EQ(pickers[0]->currentText(), "None");
    QStringList titles;
    for (int i = 0; i < pickers[0]->count(); ++i)
        titles << pickers[0]->itemText(i);
    EXPECT_EQ(titles, QStringList({"Turn On", "Turn Off", "Run", "None"}));
    pickers[0]->setCurrentIndex(0);
    Q_EMIT pickers[0]->activated(0);
    QApplication::processEvents();
    EXPECT_EQ(
        manager.automation->reactions[0],
        (core::Automation::Reaction{Event::screenLocked, "SnapWindowsTask", Action::toggleOn}));

    events.post("com.apple.screenIsLocked");
    EXPECT_TRUE(core::asToggle(*catalogue.find("SnapWindowsTask"))->isOn());
    save(window, "automation.png");

    button(section(Event::screenLocked), "Remove")->click();
    QApplication::processEvents();
    ASSERT_EQ(manager.automation->reactions.size(), 1u);
    EXPECT_EQ(manager.automation->reactions[0].tweakId, "EmptyTrashTask");
    EXPECT_EQ(section(Event::screenLocked)->findChildren<QComboBox*>().size(), 1);
}

TEST_F(AutomationPageTest, theChooserSearchesEveryTweak) {
    SelectTweakDialog dialog(catalogue);
    QTest::keyClicks(dialog.search(), "trash");
    int shown = 0;
    for (int row = 0; row < dialog.list()->count(); ++row)
        if (!dialog.list()->item(row)->isHidden()) {
            ++shown;
            dialog.list()->setCurrentRow(row);
        }
    EXPECT_EQ(shown, 1);
    ASSERT_TRUE(dialog.chosen());
    EXPECT_EQ(dialog.chosen()->id(), "EmptyTrashTask");
}

}  // namespace
}  // namespace quorvane::ui

namespace quorvane::ui {
namespace {

// Typing, Down and Return are enough: the hands stay on the keyboard.
TEST_F(AutomationPageTest, theChooserAddsWithTheKeyboardAlone) {
    SelectTweakDialog dialog(catalogue);
    dialog.show();
    dialog.search()->setFocus();
    QTest::keyClicks(dialog.search(), "dock");
    ASSERT_TRUE(dialog.chosen());  // the first match, highlighted
    const auto first = dialog.chosen()->id();
    QTest::keyClick(dialog.search(), Qt::Key_Down);
    ASSERT_TRUE(dialog.chosen());
    EXPECT_NE(dialog.chosen()->id(), first);
    QTest::keyClick(dialog.search(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace quorvane::ui

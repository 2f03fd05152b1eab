#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <fstream>

#include "adapters/posix/XdgAutostart.hpp"
#include "simmac/SimDesktop.hpp"
#include "support/TemporaryDirectory.hpp"
#include "ui/AlertPanel.hpp"
#include "ui/ConfirmationPanel.hpp"
#include "ui/MenuBarService.hpp"
#include "ui/PermissionPanel.hpp"
#include "ui/SettingsWindow.hpp"
#include "ui/Switch.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

struct ShellWindowsTest : testing::UiFixture {
    quorvane::testing::TemporaryDirectory temporary;
    int mainOpened = 0;
    Popover popover{{.list = lists(),
                     .defaults = defaults,
                     .openMain = [this] { ++mainOpened; },
                     .openSettings = {},
                     .showAbout = {},
                     .quit = {}}};
};

TEST_F(ShellWindowsTest, thePopoverShowsTheChosenWorkflowAndRemembersItsPin) {
    EXPECT_TRUE(popover.isPinned());
    EXPECT_EQ(popover.pinButton()->text(), "Unpin");
    EXPECT_TRUE(popover.windowFlags().testFlag(Qt::Tool));
    popover.pinButton()->click();
    EXPECT_EQ(defaults.boolValue(std::string(Popover::pinSetting.key)), false);
    EXPECT_EQ(popover.pinButton()->text(), "Pin");
    // Unpinned it is a popup, which the window system closes on a click elsewhere.
    EXPECT_TRUE(popover.windowFlags().testFlag(Qt::Popup));

    popover.showAt({400, 30});
    EXPECT_TRUE(popover.emptyText()->isVisible());
    store.preference.modify([](core::Preference& preference) {
        preference.workflows = {{"favorite", "Favorite", "star", "Yellow"},
                                {"work", "Work", "bolt", "Blue"}};
        preference.taskWorkflows = {
            {"SnapWindowsTask", "favorite"}, {"DimTask", "work"}, {"MuteTask", "work"}};
        preference.compactWorkflowId = "work";
    });
    EXPECT_FALSE(popover.emptyText()->isVisible());
    EXPECT_EQ(idsOf(popover.holder().tweaks.get()),
              (std::vector<std::string>{"DimTask", "MuteTask"}));
    // Long names wrap: every Run button and switch stays inside the popover,
    // also with the larger type an X11 desktop gives it.
    QFont larger = popover.font();
    larger.setPointSizeF(larger.pointSizeF() * 1.4);
    popover.setFont(larger);
    store.preference.modify([](core::Preference& preference) {
        // Enough of them that the list scrolls, and its bar takes room.
        for (const char* id : {"HideAllAppsTask", "LaunchScreenSaverTask", "ClearClipboardTask",
                               "VisualizeKeystrokeTask", "VisualizeCursorTask", "PlainTextTask",
                               "AutoPlainTextTask", "CameraMirrorTask"})
            preference.taskWorkflows.push_back({id, "work"});
    });
    popover.list()->finishBuilding();
    QApplication::processEvents();
    const QRect inside = popover.list()->viewport()->rect();
    for (auto* cell : popover.list()->cells()) {
        QWidget* control = testing::findSwitch(cell);
        if (!control)
            control = cell->findChild<QPushButton*>();
        ASSERT_TRUE(control);
        const QRect placed(control->mapTo(popover.list()->viewport(), QPoint(0, 0)), control->size());
        EXPECT_LE(placed.right(), inside.right()) << cell->tweak()->id();
        // Nor may it need more room than is left once the list scrolls.
        const int scrollBar = popover.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        EXPECT_LE(cell->minimumSizeHint().width(), inside.width() - scrollBar - 24)
            << cell->tweak()->id();
    }
    store.preference.modify(
        [](core::Preference& preference) { preference.compactWorkflowId = "removed"; });
    EXPECT_EQ(idsOf(popover.holder().tweaks.get()), std::vector<std::string>{"SnapWindowsTask"});
    save(popover, "popover.png");

    MenuBarService menuBar([&]() -> Popover& { return popover; },
                           {.openMain = [this] { ++mainOpened; }, .showHelp = {}, .quit = {}});
    auto menu = menuBar.makeMenu();
    QStringList titles;
    for (auto* action : menu->actions())
        titles << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(titles, (QStringList{"Open Quorvane", "Help", "-", "Quit"}));
    for (auto* action : menu->actions())
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull()) << action->text().toStdString();
    menu->actions().front()->trigger();
    EXPECT_EQ(mainOpened, 1);
    menuBar.togglePopover();
    EXPECT_FALSE(popover.isVisible());
    menuBar.togglePopover();
    EXPECT_TRUE(popover.isVisible());
    // "Open Quorvane" in the popover opens the window and closes the popover.
    for (auto* button : popover.findChildren<QToolButton*>())
        if (button->text() == "Open Quorvane")
            button->click();
    EXPECT_EQ(mainOpened, 2);
    EXPECT_FALSE(popover.isVisible());
    menuBar.togglePopover();
    EXPECT_TRUE(popover.isVisible());
    // This desktop has no status area: no item, so the caller keeps the window.
    menuBar.update(true);
    EXPECT_EQ(menuBar.hasItem(), MenuBarService::isAvailable());
    menuBar.update(false);
    EXPECT_FALSE(menuBar.hasItem());
}

// The status item may sit at any edge, beside panels: the popover is always
// wholly reachable.
TEST(PopoverPlacement, thePopoverLiesInsideTheAvailableAreaWhereverTheItemIs) {
    const QSize size(Popover::width, Popover::height);
    const QRect belowTopPanel(0, 24, 1440, 876);  // a 1440 x 900 screen, panel on top
    EXPECT_EQ(Popover::placement({700, 28}, size, belowTopPanel),
              QRect(QPoint(700 - Popover::width / 2, 28), size));  // centred when it fits
    for (const QPoint anchor : {QPoint(1430, 28), QPoint(5, 28), QPoint(1430, 895), QPoint(700, 0)}) {
        const QRect placed = Popover::placement(anchor, size, belowTopPanel);
        EXPECT_TRUE(belowTopPanel.contains(placed)) << anchor.x() << "," << anchor.y();
        EXPECT_EQ(placed.size(), size);
    }
    EXPECT_EQ(Popover::placement({1430, 28}, size, belowTopPanel).right(), 1439);
    // A second screen to the right, a panel at its bottom.
    const QRect second(1440, 0, 1280, 760);
    EXPECT_TRUE(second.contains(Popover::placement({2700, 770}, size, second)));
    // Smaller than the panel: its top left, with the header, stays on screen.
    EXPECT_EQ(Popover::placement({100, 30}, size, QRect(0, 0, 200, 300)).topLeft(), QPoint(0, 0));
}

TEST_F(ShellWindowsTest, settingsWriteThroughToTheStoreAndTheSession) {
    platform::posix::XdgAutostart loginItems(temporary.path() / "config",
                                             "/opt/Quorvane $x/quorvane");
    platform::posix::PackageManagerUpdater updater;
    SettingsWindow settings({.store = store,
                             .loginItems = loginItems,
                             .updater = updater,
                             .version = "0.1.0 (12)",
                             .documentation = "https://docs.tarnvell.com/quorvane"});
    settings.show();
    EXPECT_TRUE(settings.showsInMenuBar()->isChecked());
    settings.showsInMenuBar()->click();
    EXPECT_FALSE(store.preference->showsInMenuBar);
    store.preference.modify([](core::Preference& preference) { preference.showsInMenuBar = true; });
    EXPECT_TRUE(settings.showsInMenuBar()->isChecked());

    settings.launchAtLogin()->click();
    ASSERT_TRUE(loginItems.isEnabled());
    std::ifstream entry(loginItems.entry());
    const std::string text(std::istreambuf_iterator<char>(entry), {});
    EXPECT_NE(text.find("Exec=\"/opt/Quorvane \\$x/quorvane\""), std::string::npos);
    settings.launchAtLogin()->click();
    EXPECT_FALSE(loginItems.isEnabled());
    save(settings, "settings.png");

    // Ctrl+W and Escape close it, as they would any settings window.
    for (const auto& keys :
         {std::pair{Qt::Key_W, Qt::ControlModifier}, std::pair{Qt::Key_Escape, Qt::NoModifier}}) {
        settings.present();
        QApplication::setActiveWindow(&settings);
        ASSERT_TRUE(settings.isVisible());
        QTest::keyClick(&settings, keys.first, keys.second);
        EXPECT_FALSE(settings.isVisible()) << "key " << int(keys.first);
    }
}

}  // namespace
}  // namespace quorvane::ui

namespace quorvane::ui {
namespace {

// Where the desktop gives dialog buttons icons, an alert's OK button still
// draws none: the theme's picture for it is not a check mark everywhere.
TEST_F(ShellWindowsTest, anAlertsOkButtonDrawsNoGlyph) {
    class IconButtons final : public QProxyStyle {
      public:
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* returned) const override {
            if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
                return 1;
            return QProxyStyle::styleHint(hint, option, widget, returned);
        }
        QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                           const QWidget* widget) const override {
            if (icon != SP_DialogOkButton)
                return QProxyStyle::standardIcon(icon, option, widget);
            QPixmap banknote(16, 16);
            banknote.fill(Qt::darkGreen);
            return QIcon(banknote);
        }
    };
    QApplication::setStyle(new IconButtons);
    AlertPanel alerts;
    alerts.show({.message = "Public IP", .informativeText = "192.0.2.7"});
    ASSERT_TRUE(alerts.lastShown());
    auto* ok = alerts.lastShown()->button(QMessageBox::Ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->icon().isNull());
    alerts.lastShown()->close();
}

// A question still open when the program quits is closed by the quit, and
// its answer says so; one the user cancels does not.
TEST_F(ShellWindowsTest, aConfirmationClosedByTheQuitSaysSo) {
    ConfirmationPanel panel;
    std::vector<platform::ConfirmationAnswer> answers;
    auto keep = [&](platform::ConfirmationAnswer answer) { answers.push_back(answer); };
    const platform::Confirmation question{.message = "Allow a link to run \"Empty Trash\"?",
                                          .informativeText = "From a link.",
                                          .confirmTitle = "Run",
                                          .optionTitle = ""};
    panel.ask(question, keep);
    button(panel.last(), "Cancel")->click();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_FALSE(answers[0].confirmed);
    EXPECT_FALSE(answers[0].closedAtQuit);

    panel.ask(question, keep);
    QTimer::singleShot(0, [] { QApplication::quit(); });
    QApplication::exec();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_FALSE(answers[1].confirmed);
    EXPECT_TRUE(answers[1].closedAtQuit);
}

TEST_F(ShellWindowsTest, aNewPermissionRequestReplacesThePanel) {
    platform::sim::SimWorkspace workspace;
    PermissionPanel permissions(workspace);
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(20, 20));
    permissions.ask(platform::Permission::accessibility);
    QPointer<QWidget> first = permissions.panel();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->windowTitle(), "Quorvane");
    // Centred on the screen that holds the pointer, not in its corner.
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    ASSERT_TRUE(screen);
    EXPECT_LE((first->geometry().center() - screen->availableGeometry().center()).manhattanLength(),
              8);
    EXPECT_TRUE(first->findChild<QLabel*>()->text() == "Grant Accessibility permission");

    permissions.ask(platform::Permission::screenRecording);
    EXPECT_TRUE(first.isNull());
    QPointer<QWidget> second = permissions.panel();
    ASSERT_TRUE(second);
    QStringList lines;
    for (auto* label : second->findChildren<QLabel*>())
        lines << label->text();
    EXPECT_EQ(lines, (QStringList{"Grant Screen Recording permission",
                                  "This tweak requires Screen Recording"}));
    save(*second, "permission.png");

    second->findChild<QPushButton*>()->click();
    QApplication::processEvents();
    EXPECT_EQ(workspace.opened,
              std::vector<std::string>{
                  "x-apple.systempreferences:com.apple.preference.security?Privacy_ScreenCapture"});
    EXPECT_TRUE(second.isNull() || !second->isVisible());
}

}  // namespace
}  // namespace quorvane::ui

namespace quorvane::ui {
namespace {

TEST_F(ShellWindowsTest, anUnpinnedPopoverClosesOnAClickElsewhere) {
    popover.setPinned(false);
    // While a popup is open the window system hands it every click; one
    // outside its area is how "elsewhere" reaches it.
    const QPoint outside(-20, -20);
    popover.showAt({400, 30});
    ASSERT_TRUE(popover.isVisible());
    QTest::mouseClick(&popover, Qt::LeftButton, {}, outside);
    QApplication::processEvents();
    EXPECT_FALSE(popover.isVisible());

    popover.setPinned(true);
    popover.showAt({400, 30});
    QTest::mouseClick(&popover, Qt::LeftButton, {}, outside);
    QApplication::processEvents();
    EXPECT_TRUE(popover.isVisible());  // pinned: only the status item closes it
}

}  // namespace
}  // namespace quorvane::ui

namespace quorvane::ui {
namespace {

// Settings opens wholly on screen, below where a title bar goes, however
// small the screen.
TEST(SettingsPlacement, theWindowLiesInsideTheAvailableArea) {
    const QRect available(0, 25, 1440, 800);
    const QRect placed = SettingsWindow::centredWithin({600, 480}, available);
    EXPECT_TRUE(available.contains(placed));
    EXPECT_EQ(placed.center(), available.center());
    const QRect small(100, 0, 500, 400);
    const QRect squeezed = SettingsWindow::centredWithin({601, 481}, small);
    EXPECT_TRUE(small.contains(squeezed));
    EXPECT_EQ(squeezed.size(), small.size());
}

}  // namespace
}  // namespace quorvane::ui

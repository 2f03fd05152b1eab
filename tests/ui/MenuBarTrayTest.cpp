#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "support/FakeSystemTray.hpp"
#include "support/WaitFor.hpp"
#include "ui/MenuBarService.hpp"
#include "ui/UiFixture.hpp"

namespace quorvane::ui {
namespace {

// The tray comes first, so that the application finds a status area.
struct WithTray {
    quorvane::testing::FakeSystemTray tray;
};

using quorvane::testing::waitFor;

struct MenuBarTrayTest : WithTray, testing::UiFixture {
    int windowShown = 0;
    Popover popover{{.list = lists(),
                     .defaults = defaults,
                     .openMain = {},
                     .openSettings = {},
                     .showAbout = {},
                     .quit = {}}};
    MenuBarService menuBar{
        [this]() -> Popover& { return popover; },
        {.openMain = {}, .showHelp = {}, .quit = {}, .noItem = [this] { ++windowShown; }}};
};

TEST_F(MenuBarTrayTest, theStatusItemOpensItsMenuAndThePopoverAndCanBeTurnedOff) {
    ASSERT_TRUE(MenuBarService::isAvailable()) << "needs an X display (run under xvfb-run)";
    menuBar.update(true);
    ASSERT_TRUE(menuBar.hasItem());
    ASSERT_TRUE(waitFor([&] { return tray.icons().size() == 1; }));
    menuBar.update(true);  // another setting changed: the same item stays
    EXPECT_EQ(tray.icons().size(), 1u);

    // A right click opens the menu; close it as a person would.
    QStringList titles;
    QTimer closeMenu;
    QObject::connect(&closeMenu, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (auto* action : menu->actions())
                titles << (action->isSeparator() ? "-" : action->text());
            menu->close();
        }
    });
    closeMenu.start(10);
    tray.click(3);
    ASSERT_TRUE(waitFor([&] { return !titles.isEmpty(); }));
    closeMenu.stop();
    EXPECT_EQ(titles, (QStringList{"Open Quorvane", "Help", "-", "Quit"}));

    // The next left click opens the popover; another closes it.
    tray.click(1);
    EXPECT_TRUE(waitFor([&] { return popover.isVisible(); }));
    tray.click(1);
    EXPECT_TRUE(waitFor([&] { return !popover.isVisible(); }));

    // With the status item at the screen's right edge the whole popover
    // still lies on the screen.
    tray.moveToTopRight();
    QTest::qWait(100);
    tray.click(1);
    ASSERT_TRUE(waitFor([&] { return popover.isVisible(); }));
    const QRect screen = popover.screen()->availableGeometry();
    EXPECT_TRUE(waitFor([&] { return screen.contains(popover.frameGeometry()); }))
        << popover.frameGeometry().x() << "," << popover.frameGeometry().y() << " "
        << popover.frameGeometry().width() << "x" << popover.frameGeometry().height();
    EXPECT_GT(popover.frameGeometry().right(), screen.width() / 2);  // it opened by the item
    tray.click(1);
    EXPECT_TRUE(waitFor([&] { return !popover.isVisible(); }));

    // "Show in status menu bar" off: the item goes and the window stays.
    menuBar.update(false);
    EXPECT_FALSE(menuBar.hasItem());
    EXPECT_TRUE(waitFor([&] { return tray.icons().empty(); }));
    EXPECT_EQ(windowShown, 1);
}

}  // namespace
}  // namespace quorvane::ui

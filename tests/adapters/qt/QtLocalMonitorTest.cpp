#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include "adapters/qt/QtLocalMonitor.hpp"

namespace quorvane::platform::qt {
namespace {

struct CountingWindow : QWindow {
    int presses = 0;
    int keys = 0;
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

// Our own windows' input reaches local monitors, which may keep it from
// the window; the filter exists only while a monitor does.
TEST(QtLocalMonitor, localMonitorsSeeAndMayConsumeWhatOurWindowsGet) {
    int argc = 1;
    char name[] = "qt-local-monitor";
    char* argv[] = {name};
    QGuiApplication application(argc, argv);
    CountingWindow window;
    QtLocalMonitor monitors;
    EXPECT_FALSE(monitors.isFiltering());

    std::vector<InputEvent> seen;
    auto clicks = monitors.addLocal(eventMask::dismissal, [&](const InputEvent& event) {
        seen.push_back(event);
        return true;  // consumed
    });
    auto keys = monitors.addLocal(eventMask::keyDown, [&](const InputEvent& event) {
        seen.push_back(event);
        return false;
    });
    EXPECT_TRUE(monitors.isFiltering());

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | Qt::MetaModifier, "A");
    QCoreApplication::sendEvent(&window, &key);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].type, EventType::rightMouseDown);
    EXPECT_EQ(seen[0].buttonNumber, 1);
    EXPECT_EQ(window.presses, 0);
    EXPECT_EQ(seen[1].type, EventType::keyDown);
    EXPECT_EQ(seen[1].characters, "A");
    EXPECT_EQ(seen[1].modifierFlags, modifier::shift | modifier::command);
    EXPECT_EQ(window.keys, 1);

    // A modifier key is a change of the flags, as on a Mac, with the flags
    // after it (X key code 50 is the left Shift).
    QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier, 50, 0, 0);
    auto flags = QtLocalMonitor::translate(shiftDown);
    ASSERT_TRUE(flags);
    EXPECT_EQ(flags->type, EventType::flagsChanged);
    EXPECT_EQ(flags->modifierFlags, modifier::shift);
    QKeyEvent shiftUp(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier, 50, 0, 0);
    flags = QtLocalMonitor::translate(shiftUp);
    ASSERT_TRUE(flags);
    EXPECT_EQ(flags->type, EventType::flagsChanged);
    EXPECT_EQ(flags->modifierFlags, 0u);

    monitors.remove(clicks);
    monitors.remove(keys);
    EXPECT_FALSE(monitors.isFiltering());
    QCoreApplication::sendEvent(&window, &press);
    EXPECT_EQ(window.presses, 1);
    EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
}  // namespace quorvane::platform::qt

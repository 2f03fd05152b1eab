#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QVBoxLayout>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/qt/X11Hotkeys.hpp"
#include "adapters/x11/XcbKeyGrabs.hpp"
#include "support/Typist.hpp"
#include "support/WaitFor.hpp"
#include "ui/shortcuts/ShortcutRecorder.hpp"

namespace quorvane::ui {
namespace {

using quorvane::testing::altKey;
using quorvane::testing::controlKey;
using quorvane::testing::escapeKey;
using quorvane::testing::waitFor;

// Typed on a real X server: while a recorder listens, a combination another
// tweak holds reaches the recorder, not that tweak.
TEST(ShortcutRecorderX11, aRecorderTakesTheKeysTheProgramHoldsAndEscapeCancels) {
    int argc = 1;
    char name[] = "recorder-test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    platform::memory::MemoryUserDefaults defaults;
    platform::memory::MemoryLog log;
    auto hotkeys = std::make_unique<platform::qt::X11Hotkeys>(
        defaults, log, [](platform::x11::KeyGrabs::Pressed pressed) {
            return std::unique_ptr<platform::x11::KeyGrabs>(
                platform::x11::XcbKeyGrabs::connect(std::move(pressed)));
        });
    int snaps = 0;
    hotkeys->onKeyDown("SnapWindowsTask", [&] { ++snaps; });
    ASSERT_TRUE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+K"}));

    QWidget window;
    auto* recorder = new ShortcutRecorder(*hotkeys, "EmptyTrashTask",
                                          [](const std::string&) { return QString("Snap Windows"); });
    (new QVBoxLayout(&window))->addWidget(recorder);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.resize(420, window.sizeHint().height());
    QApplication::processEvents();
    const int height = recorder->height();
    const int fieldWidth = recorder->editor()->width();

    quorvane::testing::Typist typist;
    recorder->editor()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(recorder->isListening());
    QElapsedTimer typed;
    typed.start();
    typist.type({controlKey, altKey, 'k'});
    ASSERT_TRUE(waitFor([&] { return recorder->message()->isVisible(); }));
    // The combination itself ends the recording, not the editor's second-long
    // wait for another one.
    EXPECT_LT(typed.elapsed(), 600);
    EXPECT_EQ(recorder->message()->text(), "Ctrl+Alt+K is already the shortcut of Snap Windows.");
    // Past the editor's own wait for a second combination, the hint stays.
    QTest::qWait(1500);
    EXPECT_TRUE(recorder->message()->isVisible());
    EXPECT_EQ(snaps, 0);
    EXPECT_FALSE(recorder->isListening());  // the first combination ends the recording
    EXPECT_TRUE(recorder->editor()->keySequence().isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(recorder->height(), height);  // the hint moved nothing
    EXPECT_EQ(recorder->editor()->width(), fieldWidth);

    // Done recording: the tweak's shortcut works again.
    typist.type({controlKey, altKey, 'k'});
    EXPECT_TRUE(waitFor([&] { return snaps == 1; }));

    // Escape cancels: nothing recorded, nothing typed into the field.
    recorder->editor()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(recorder->isListening());
    typist.type({escapeKey});
    EXPECT_TRUE(waitFor([&] { return !recorder->isListening(); }));
    EXPECT_TRUE(recorder->editor()->keySequence().isEmpty());
    EXPECT_FALSE(hotkeys->combination("EmptyTrashTask"));

    // A free combination is recorded, grabbed once recording ends.
    int trashes = 0;
    hotkeys->onKeyDown("EmptyTrashTask", [&] { ++trashes; });
    recorder->editor()->setFocus(Qt::MouseFocusReason);
    typist.type({controlKey, altKey, 'j'});
    ASSERT_TRUE(waitFor([&] { return hotkeys->combination("EmptyTrashTask").has_value(); }));
    EXPECT_EQ(hotkeys->combination("EmptyTrashTask")->text, "Ctrl+Alt+J");
    EXPECT_EQ(trashes, 0);
    typist.type({controlKey, altKey, 'j'});
    EXPECT_TRUE(waitFor([&] { return trashes == 1; }));

    // Closing the sheet mid-recording gives the keys back.
    recorder->editor()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(recorder->isListening());
    delete recorder;
    typist.type({controlKey, altKey, 'k'});
    EXPECT_TRUE(waitFor([&] { return snaps == 2; }));
}

}  // namespace
}  // namespace quorvane::ui

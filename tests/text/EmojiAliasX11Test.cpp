#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QTest>
#include <QThread>

#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/posix/FileOps.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/qt/NetworkModule.hpp"
#include "adapters/qt/QtLocalMonitor.hpp"
#include "adapters/qt/QtMainQueue.hpp"
#include "adapters/qt/QtPasteboard.hpp"
#include "adapters/qt/QtRegionCapture.hpp"
#include "adapters/qt/QtRichTextReader.hpp"
#include "adapters/qt/QtScreens.hpp"
#include "adapters/qt/RecognitionModule.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimWindowServer.hpp"
#include "adapters/x11/XcbInput.hpp"
#include "support/FakeSystemTray.hpp"
#include "support/WaitFor.hpp"
#include "text/emoji/EmojiAliasTask.hpp"
#include "text/emoji/EmojiPickerTask.hpp"
#include "ui/text/EmojiAliasPanel.hpp"
#include "ui/text/EmojiPickerPopover.hpp"
#include "ui/text/TrayStatusBar.hpp"

namespace quorvane::text {
namespace {

using quorvane::testing::waitFor;
using namespace platform;

// The line edit below stands for another application, always in front.
struct OneApplication final : RunningApplications {
    RunningApplication editor{.pid = 777,
                              .name = "Editor",
                              .bundleIdentifier = "org.example.Editor",
                              .bundleUrl = "file:///Applications/Editor.app/",
                              .isActive = true};
    std::vector<RunningApplication> list() override { return {editor}; }
    std::optional<RunningApplication> frontmost() override { return editor; }
    bool hide(int) override { return false; }
    bool activate(int) override { return true; }
    bool forceTerminate(int) override { return false; }
    bool reopen(const RunningApplication&) override { return false; }
    int ownPid() const override { return 1; }
    Token observeActivation(Observer) override { return 1; }
    void removeObserver(Token) override {}
};

struct Trusted final : PermissionChecker {
    bool isGranted(Permission) const override { return true; }
};

// The emoji tweaks on an X11 session: the RECORD monitor, root grabs for
// the panel's keys, XTest for the replacement, the X clipboard, and a tray
// for the picker's item.
struct EmojiAliasX11 : ::testing::Test {
    // First, so that the application finds a status area.
    quorvane::testing::FakeSystemTray tray;
    int argc = 1;
    char name[16] = "emoji-x11";
    char* argv[1] = {name};
    QApplication application{argc, argv};

    memory::MemoryLog log;
    qt::QtMainQueue queue;
    memory::MemoryBlobStore blobs;
    memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    memory::MemoryJournal journal;
    memory::MemoryAlerts alerts;
    qt::QtPasteboard pasteboard;
    qt::QtRichTextReader reader;
    qt::NetworkModule http{log, QString()};
    qt::RecognitionModule recognition{log, QString()};
    qt::QtRegionCapture capture;
    core::SerialExecutor conversions{"Plain Text"};
    core::SerialExecutor network{"Network"};
    core::SerialExecutor vision{"Vision"};
    core::SerialExecutor emojiWorker{"Emoji"};
    PlainTextService plainText{pasteboard, reader, conversions, queue, journal};
    ClipboardManager clipboard{pasteboard, plainText, queue};
    Trusted trusted;
    sim::SimPermissionAsker asker{journal};
    std::unique_ptr<x11::XcbInput> input =
        x11::XcbInput::connect(queue, log, {.primaryRootFrame = &qt::QtScreens::primaryRootFrame});
    qt::QtScreens screens;
    OneApplication applications;
    // Window reading is not used here: the simulated desktop stands in.
    sim::SimPasteboard unusedPasteboard;
    sim::SimWindowServer unusedDesktop{1, journal, unusedPasteboard};
    windows::OwnedWindowsServices owned{{.store = store, .mainQueue = queue, .journal = journal,
                                 .log = log, .screens = screens, .accessibility = unusedDesktop,
                                 .windowList = unusedDesktop, .applications = applications,
                                 .permissions = trusted, .permissionAsker = asker}};
    windows::WindowsServices& windows = owned.services;
    qt::QtLocalMonitor localMonitors;
    std::unique_ptr<input::InputPoster> poster;
    std::unique_ptr<input::InputServices> inputServices;
    EmojiTable table{EmojiLoader(QUORVANE_EMOJI_TABLE, log, platform::posix::readFile),
                     emojiWorker, queue};
    std::unique_ptr<TextServices> services;
    ui::TrayStatusBar statusBar;
    ui::EmojiAliasPanel* panel = nullptr;
    ui::EmojiPickerPopover* popover = nullptr;
    std::shared_ptr<EmojiAliasTask> task;
    QLineEdit editor;

    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display (run under xvfb-run)";
        ASSERT_TRUE(input) << "needs RECORD and XTEST";
        poster = std::make_unique<input::InputPoster>(*input, queue, journal);
        inputServices = std::make_unique<input::InputServices>(input::InputServices{
            .monitors = *input, .localMonitors = localMonitors, .taps = *input, .poster = *poster,
            .journal = journal, .log = log, .windows = windows, .store = windows.store,
                               .mainQueue = windows.mainQueue});
        services = std::make_unique<TextServices>(TextServices{
            .store = store, .pasteboard = pasteboard, .journal = journal, .log = log,
            .mainQueue = queue, .plainText = plainText, .clipboard = clipboard,
            .defaults = defaults, .alerts = alerts, .http = http, .network = network,
            .publicIpService = {}, .permissions = trusted, .permissionAsker = asker,
            .capture = capture, .textRecognizer = recognition, .barcodeReader = recognition,
            .vision = vision, .input = *inputServices, .keyCapture = *input, .emojiTable = table,
            .emojiSearch = emojiWorker, .clearScreen = {},
            .makeAliasPanel =
                [this] {
                    auto made = std::make_unique<ui::EmojiAliasPanel>();
                    panel = made.get();
                    return made;
                },
            .statusBar = &statusBar,
            .makePickerPopover = [this] {
                auto made = std::make_unique<ui::EmojiPickerPopover>();
                popover = made.get();
                return made;
            }});
        owned.apps.start();
        const auto& rows = core::builtinCatalogue();
        const auto row = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
            return candidate.info.id == "EmojiAliasTask";
        });
        task = std::make_shared<EmojiAliasTask>(row->info, *core::pStateField(*row), *services);
        core::switchAndApply(*task, true, true);
        ASSERT_TRUE(waitFor([&] { return table.isLoaded(); }));

        editor.resize(300, 40);
        editor.move(100, 100);
        editor.show();
        editor.activateWindow();
        ASSERT_TRUE(waitFor([&] { return editor.hasFocus() && editor.isActiveWindow(); }));
    }

    void TearDown() override {
        if (task)
            core::switchAndApply(*task, false, true);
        emojiWorker.waitUntilIdle();
    }

    static void xdotool(const QStringList& arguments) {
        QProcess::execute("xdotool", arguments);
    }
    bool panelShown() const { return panel && panel->isVisible(); }
};

TEST_F(EmojiAliasX11, returnReplacesTheShortcodeAndTheEditorKeepsTheFocus) {
    pasteboard.setString("before");
    xdotool({"type", "--delay", "30", "Hi :tada"});
    ASSERT_TRUE(waitFor([&] { return panelShown() && !task->manager().matches().empty(); }));
    // The panel never took the focus.
    EXPECT_TRUE(editor.hasFocus());
    EXPECT_EQ(QApplication::activeWindow(), &editor);
    EXPECT_EQ(editor.text(), "Hi :tada");

    // Held as a person holds it: the replacement is typed while Return is
    // still down.
    QProcess::startDetached("xdotool", {"keydown", "Return", "sleep", "0.4", "keyup", "Return"});
    ASSERT_TRUE(waitFor([&] { return editor.text() == QString::fromUtf8("Hi \U0001F389"); }))
        << editor.text().toStdString();
    EXPECT_FALSE(panelShown());
    // Nothing was left held: the text stays as it is, and the copy that
    // was there comes back.
    QThread::msleep(1200);
    EXPECT_TRUE(waitFor([&] { return pasteboard.string() == "before"; }));
    EXPECT_EQ(editor.text(), QString::fromUtf8("Hi \U0001F389"));
}

TEST_F(EmojiAliasX11, escapeClosesThePanelAndChangesNothing) {
    xdotool({"type", "--delay", "30", ":tad"});
    ASSERT_TRUE(waitFor([&] { return panelShown(); }));
    xdotool({"key", "Escape"});
    ASSERT_TRUE(waitFor([&] { return !panelShown(); }));
    QThread::msleep(300);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor.text(), ":tad");
    // The keys are given back: Return reaches the editor again.
    bool returned = false;
    QObject::connect(&editor, &QLineEdit::returnPressed, [&] { returned = true; });
    xdotool({"key", "Return"});
    EXPECT_TRUE(waitFor([&] { return returned; }));
}

TEST_F(EmojiAliasX11, thePickersTrayItemPastesIntoTheApplicationInFront) {
    const auto& rows = core::builtinCatalogue();
    const auto row = std::find_if(rows.begin(), rows.end(), [](const auto& candidate) {
        return candidate.info.id == "EmojiPickerTask";
    });
    auto picker = std::make_shared<EmojiPickerTask>(row->info, *core::pStateField(*row), *services);
    core::switchAndApply(*picker, true, true);
    ASSERT_TRUE(waitFor([&] { return tray.icons().size() == 1; }));
    tray.click(1);
    ASSERT_TRUE(waitFor([&] { return popover && popover->isVisible(); }));
    popover->searchField()->setText("tada");
    ASSERT_TRUE(waitFor([&] { return picker->manager().emojis().size() == 1; }));
    auto* grid = popover->grid()->view();
    const QRect cell = grid->visualRect(grid->model()->index(0, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(waitFor([&] { return editor.text() == QString::fromUtf8("🎉"); }))
        << editor.text().toStdString();
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(picker->manager().recentEmojis(), std::vector<std::string>{"🎉"});
    core::switchAndApply(*picker, false, true);
    EXPECT_TRUE(waitFor([&] { return tray.icons().empty(); }));
}

}  // namespace
}  // namespace quorvane::text

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QProcessEnvironment>
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
#include "adapters/posix/RecognitionHelper.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimWindowServer.hpp"
#include "adapters/x11/XcbInput.hpp"
#include "platform/Utf8.hpp"
#include "support/FakeSystemTray.hpp"
#include "support/TemporaryDirectory.hpp"
#include "support/Typist.hpp"
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
    posix::RecognitionHelper recognition{log, {}};
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

// Whether a key of the core keyboard mapping has `keysym`.
bool keymapHolds(xcb_keysym_t keysym) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const auto* setup = xcb_get_setup(connection);
    const auto cookie = xcb_get_keyboard_mapping(
        connection, setup->min_keycode,
        static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1));
    auto* reply = xcb_get_keyboard_mapping_reply(connection, cookie, nullptr);
    bool held = false;
    if (reply) {
        const auto* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        const auto* end = keysyms + xcb_get_keyboard_mapping_keysyms_length(reply);
        held = std::find(keysyms, end, keysym) != end;
        std::free(reply);
    }
    xcb_disconnect(connection);
    return held;
}

constexpr xcb_keysym_t partyPopperKeysym = 0x0101F389;

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
    QProcess holding;
    holding.start("xdotool", {"keydown", "Return", "sleep", "0.4", "keyup", "Return"});
    // Let go before the test ends: a key still down would make the next
    // test's press of it a repeat.
    const auto release = qScopeGuard([&] { holding.waitForFinished(); });
    ASSERT_TRUE(waitFor([&] { return editor.text() == QString::fromUtf8("Hi \U0001F389"); }))
        << editor.text().toStdString();
    EXPECT_FALSE(panelShown());
    // Typed, not pasted: the copy stays as it was.
    EXPECT_EQ(pasteboard.string(), "before");
    // The key the emoji borrowed is emptied again a moment later.
    EXPECT_TRUE(waitFor([&] { return !keymapHolds(partyPopperKeysym); }));
    // Nothing was left held: the next key lands after the emoji, alone.
    xdotool({"type", "x"});
    EXPECT_TRUE(waitFor([&] { return editor.text() == QString::fromUtf8("Hi \U0001F389x"); }))
        << editor.text().toStdString();
}

TEST_F(EmojiAliasX11, aTerminalTakesTheEmojiInPlaceOfTheShortcode) {
    // The terminal's program writes every line it reads to a file.
    quorvane::testing::TemporaryDirectory folder;
    const auto received = folder.path() / "received";
    QProcess terminal;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C.UTF-8");
    terminal.setProcessEnvironment(environment);
    terminal.start("/usr/bin/xterm", {"-u8", "-geometry", "60x5+0+300", "-e", "sh", "-c",
                                      "exec cat > \"$0\"", QString::fromStdString(received.string())});
    ASSERT_TRUE(terminal.waitForStarted());
    QString window;
    ASSERT_TRUE(waitFor([&] {
        QProcess search;
        search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(terminal.processId())});
        search.waitForFinished();
        window = QString::fromUtf8(search.readAllStandardOutput()).section('\n', 0, 0).trimmed();
        return !window.isEmpty();
    }));
    xdotool({"windowfocus", "--sync", window});

    constexpr xcb_keysym_t shift = 0xffe1, colon = 0x3a, returnKey = 0xff0d;
    quorvane::testing::Typist typist;
    for (const xcb_keysym_t letter : {0x68u, 0x69u, 0x20u})  // h i space
        typist.type({letter});
    typist.type({shift, colon});
    for (const xcb_keysym_t letter : {0x74u, 0x61u, 0x64u, 0x61u})  // t a d a
        typist.type({letter});
    ASSERT_TRUE(waitFor([&] { return panelShown() && !task->manager().matches().empty(); }));
    typist.type({returnKey});
    ASSERT_TRUE(waitFor([&] { return !panelShown(); }));
    // The line ends with the next Return, the terminal's own.
    typist.type({returnKey});
    std::string line;
    EXPECT_TRUE(waitFor([&] {
        auto read = platform::posix::readFile(received, 4096);
        line = read && read.value() ? *read.value() : std::string();
        return line.find('\n') != std::string::npos;
    }));
    EXPECT_EQ(line, "hi \U0001F389\n");
    terminal.kill();
    terminal.waitForFinished();
}

TEST_F(EmojiAliasX11, keysBorrowedForTypingAreEmptiedWhenTheInputGoesAway) {
    constexpr xcb_keysym_t checkMark = 0x01002713;
    auto other = x11::XcbInput::connect(queue, log, {.primaryRootFrame = &qt::QtScreens::primaryRootFrame});
    ASSERT_TRUE(other);
    // More distinct characters than any keyboard has spare keys: refused
    // before anything is mapped or typed.
    std::string many;
    for (char32_t c = 0x4E00; c < 0x4E00 + 256; ++c)
        platform::appendUtf8(many, c);
    EXPECT_FALSE(other->canTypeText(many));
    EXPECT_FALSE(other->typeText(many));
    EXPECT_FALSE(keymapHolds(0x01004E00));

    ASSERT_TRUE(other->typeText("\u2713"));
    // Its round trip makes sure the server has mapped the key; a key still
    // borrowed can be borrowed again.
    ASSERT_TRUE(other->canTypeText("\u2713"));
    ASSERT_TRUE(keymapHolds(checkMark));
    // Gone before the moment it waits for the clients to read the key.
    other.reset();
    EXPECT_TRUE(waitFor([&] { return !keymapHolds(checkMark); }));
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

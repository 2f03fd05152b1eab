#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/AppPaths.hpp"
#include "app/AppServices.hpp"
#include "app/CommandLineTool.hpp"
#include "app/ControlCommands.hpp"
#include "app/DesktopCommands.hpp"
#include "app/DisplayCommands.hpp"
#include "app/InputCommands.hpp"
#include "input/shortcuts/ViewShortcutTask.hpp"
#include "ui/input/ShortcutSheetPanel.hpp"
#include "display/DisplayServices.hpp"
#include "display/NotchBannerManager.hpp"
#include "ui/notch/NotchBannerPanel.hpp"
#include "ui/scripts/EmojiPicker.hpp"
#include "ui/input/CursorRingView.hpp"
#include "ui/input/KeyCapsView.hpp"
#include "ui/input/LockScreenView.hpp"
#include "ui/text/EmojiAliasPanel.hpp"
#include "ui/text/EmojiPickerPopover.hpp"
#include "ui/text/TrayStatusBar.hpp"
#include "app/DesktopSession.hpp"
#include "platform/sim/SimWindowServer.hpp"
#include "windows/WindowsServices.hpp"
#include "app/SimControlCommands.hpp"
#include "app/StartupTrace.hpp"
#include "cli/CommandLine.hpp"
#include "core/AppIdentity.hpp"
#include "platform/posix/ControlSocket.hpp"
#include "platform/posix/StderrLog.hpp"
#include "platform/qt/FontListWarmUp.hpp"
#include "platform/qt/UnixSignalWatcher.hpp"
#include "platform/sim/SimHotkeys.hpp"
#include "platform/SystemEventCenter.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"
#include "platform/qt/QtOwnWindows.hpp"
#include "ui/AlertPanel.hpp"
#include "ui/ConfirmationPanel.hpp"
#include "ui/EmojiImages.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MenuBarService.hpp"
#include "ui/display/CameraMirrorView.hpp"
#include "ui/PermissionPanel.hpp"
#include "ui/SettingsWindow.hpp"
#include "ui/SystemViews.hpp"
#include "ui/TriggerViews.hpp"
#include "ui/automation/AutomationPage.hpp"
#include "ui/shortcuts/ShortcutSettingsTab.hpp"
#include "ui/workflows/WorkflowSettingsTab.hpp"

using namespace quorvane;

namespace {



// Without any display the program still runs, with windows kept off screen.
void chooseOffscreenWithoutDisplay() {
    auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    const bool hasDisplay = isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
    if (!hasDisplay && !std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace

int main(int argc, char** argv) {
    app::StartupTrace trace;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    auto command = cli::parseCommandLine(arguments);
    if (!command) {
        std::cerr << "quorvane: " << command.error().message << "\n";
        return 2;
    }
    if (command.value().action != cli::CommandLine::Action::start)
        return app::runCommandLine(command.value());

    chooseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    trace.mark("Qt application");
    QApplication::setApplicationName(QString::fromUtf8(
        core::applicationName.data(), static_cast<qsizetype>(core::applicationName.size())));
    QApplication::setQuitOnLastWindowClosed(false);

    // Ctrl-C, a kill or the end of the session quit through the event loop,
    // so the records are saved as on any normal exit. Installed first: a
    // signal that comes during start-up waits for the loop instead of
    // ending the process unsaved.
    platform::qt::UnixSignalWatcher quitOnSignal({SIGINT, SIGTERM, SIGHUP},
                                                 [](int) { QApplication::quit(); });

    // One instance per user: a second launch hands over to the first.
    platform::posix::StderrLog controlLog;
    std::atomic<const app::ControlCommands*> commands{nullptr};
    app::QuitNotice quitting;
    app::AppServices* running = nullptr;
    // Without a private folder for the lock there is no telling whether
    // another instance runs: better not to start than to run twice.
    const auto socket = app::controlSocketFor(platform::posix::XdgDirectories::current());
    if (!socket) {
        std::cerr << "quorvane: " << socket.error().message << "\n";
        return 1;
    }
    platform::posix::ControlServer control(
        socket.value(),
        [&](const std::string& request) {
            auto* handler = commands.load();
            if (!handler)
                return std::string(R"({"ok":false,"error":"Quorvane is starting; try again"})");
            return app::handleOnMainQueue(running->mainQueue(), *handler, request, &quitting);
        },
        controlLog);
    if (auto started = control.start(); !started) {
        if (started.error().message == platform::posix::ControlServer::alreadyRunning) {
            const bool handedOver =
                bool(platform::posix::sendControlRequest(socket.value(), R"({"command":"reopen"})"));
            std::cout << (handedOver ? "Quorvane is already running; asked it to show its window.\n"
                                     : "Quorvane is already running.\n");
            return 0;
        }
        std::cerr << "quorvane: " << started.error().message << "\n";
        return 1;
    }
    // This instance will show a window: its fonts are read meanwhile.
    const platform::qt::FontListWarmUp fonts;

    app::AppServices services(platform::posix::XdgDirectories::current());
    trace.mark("services and records");
    services.useSessionHotkeys();
    trace.mark("session hotkeys");
    ui::EmojiImages::setCacheFolder(
        QString::fromStdString((services.paths().cache / "emoji").string()));
    const QString documentation =
        QString::fromUtf8(core::documentationHost.data(),
                          static_cast<qsizetype>(core::documentationHost.size())) +
        QStringLiteral("/quorvane");
    const ui::ListServices lists{services.catalogue(),    services.store(),
                                 services.mainQueue(),    services.notifications(),
                                 services.tweakActions(), services.tweaksHandler(),
                                 &services.workflows()};
    // The main window's cells show the tweak they triggered in the notch
    // banner; the popover's do not.
    display::NotchBannerManager banner(
        services.displayServices(), services.desktop().monitors(), [&services] {
            return std::make_unique<ui::NotchBannerPanel>(ui::NotchBannerView::Actions{
                .switchToggle = [&services](const std::shared_ptr<core::Tweak>& tweak,
                                            bool on) { services.tweakActions().switchToggle(tweak, on); },
                .runOneShot = [&services](const std::shared_ptr<core::Tweak>& tweak) {
                    services.tweakActions().runOneShot(tweak);
                }});
        });
    ui::ListServices mainLists = lists;
    mainLists.afterAction = [&banner](const std::shared_ptr<core::Tweak>& tweak) {
        banner.show(tweak);
    };
    // Made the first time it is opened.
    std::unique_ptr<ui::SettingsWindow> settings;
    QWidget* mainWindow = nullptr;  // where Settings first opens
    auto openSettings = [&] {
        if (!settings) {
            settings = std::make_unique<ui::SettingsWindow>(ui::SettingsWindow::Services{
                .store = services.store(),
                .loginItems = services.loginItems(),
                .updater = services.updater(),
                .version = QStringLiteral(QUORVANE_VERSION " (" QUORVANE_BUILD ")"),
                .documentation = documentation});
            settings->addTab(new ui::WorkflowSettingsTab(services.store(), services.workflows()),
                             QObject::tr("Workflows"));
            settings->addTab(new ui::ShortcutSettingsTab(*services.shortcuts(), *services.hotkeys(),
                                                         services.catalogue()),
                             QObject::tr("Shortcuts"));
        }
        settings->present(mainWindow);
    };
    trace.mark("before the main window");
    ui::MainWindow window(
        {.list = mainLists,
         .journal = services.journal(),
         .simulationNotice =
             QObject::tr("This computer is not a Mac: Quorvane drives a simulated Mac kept in %1. "
                         "Commands really run, against its stand-in tools and home folder.")
                 .arg(QString::fromStdString(services.paths().simulatedMac.string())),
         .openSettings = openSettings,
         .closed = [&services] { services.activationPolicy().becomeAccessory(); },
         .configureViews =
             ui::firstOf({ui::systemConfigureViews(services.systemServices()),
                          ui::triggerConfigureViews(services.scriptTasks(), services.workspace(),
                                                     &services.fileManagers())}),
         .defaults = &services.userDefaults(),
         .hotkeys = services.hotkeys(),
         .addScript = [&services] { return services.scriptTasks().add().id; },
         .journalFile = services.paths().journal});
    trace.mark("main window made");
    mainWindow = &window;
    ui::PermissionPanel permissionPanel(services.workspace());
    services.setPermissionPanel(&permissionPanel);
    ui::AlertPanel alertPanel;
    ui::ConfirmationPanel confirmationPanel;
    services.setAlertPanel(&alertPanel);
    auto openMain = [&window, &services] {
        services.activationPolicy().becomeRegular();
        window.reopen();
    };
    auto quit = [] { QApplication::quit(); };
    // Made the first time the status item is clicked.
    std::unique_ptr<ui::Popover> popover;
    auto makePopover = [&]() -> ui::Popover& {
        if (!popover)
            popover = std::make_unique<ui::Popover>(
                ui::Popover::Services{.list = lists,
                                      .defaults = services.userDefaults(),
                                      .openMain = openMain,
                                      .openSettings = openSettings,
                                      .showAbout = [documentation] {
                                          QDesktopServices::openUrl(QUrl(documentation));
                                      },
                                      .quit = quit});
        return *popover;
    };
    services.setEmojiAliasPanel([] { return std::make_unique<ui::EmojiAliasPanel>(); });
    services.setShortcutSheetPanel([](input::ShortcutSheetController& controller) {
        return std::make_unique<ui::ShortcutSheetPanel>(controller);
    });
    services.setOverlayPainter(platform::OverlaySpec::Content::keyCaps, ui::keyCaps::painter());
    services.setOverlayPainter(platform::OverlaySpec::Content::cursorRing, ui::cursorRing::painter());
    services.setOverlayPainter(platform::OverlaySpec::Content::lockScreen, ui::lockScreen::painter());
    services.setOverlayPainter(platform::OverlaySpec::Content::cameraMirror, ui::cameraMirror::painter());
    // The script editor's chooser shows the same table; the first look
    // starts its load.
    ui::EmojiPicker::setSource([&services](ui::EmojiPicker::Deliver deliver) {
        auto& table = services.emojiTable();
        table.load([&table, deliver = std::move(deliver)] { deliver(table.index()); });
    });
    // The emoji picker's item: beside our own in the tray, or in the
    // simulated Mac's menu bar.
    ui::TrayStatusBar trayStatusBar;
    services.setEmojiPicker(services.desktop().simulated() ? nullptr : &trayStatusBar,
                            [] { return std::make_unique<ui::EmojiPickerPopover>(); });
    services.setClearScreen([&popover, &banner] {
        platform::qt::minimizeOwnWindows();
        banner.dismiss();
        if (popover)
            popover->hide();
    });
    ui::MenuBarService menuBar(
        makePopover,
        {.openMain = openMain,
         .showHelp = [documentation] { QDesktopServices::openUrl(QUrl(documentation)); },
         .quit = quit,
         .noItem = [&window] { window.show(); }});
    auto showStatusItem = [&] {
        const bool shown = services.store().preference->showsInMenuBar;
        menuBar.update(shown);
        // Without its status item the popover has nothing to hang from.
        if (!shown && popover)
            popover->hide();
    };
    core::Subscription statusItemWatch =
        services.store().preference.subscribe([&](const core::Preference&) { showStatusItem(); });
    showStatusItem();
    if (!services.store().hideMainWindowAtLaunch.get())
        window.show();
    trace.mark("status item and window shown");
    app::ControlCommands controlCommands;
    app::bindInstanceCommands(controlCommands, {.catalogue = services.catalogue(),
                                                .actions = services.tweakActions(),
                                                .reopen = openMain,
                                                .defaults = services.userDefaults(),
                                                .journal = services.journal(),
                                                .confirmations = &confirmationPanel,
                                                .finderActions = &services.finderActions()});
    app::SimControls simulated{
        .postEvent = [&services](const std::string& name) {
            return services.systemEvents().post(name);
        },
        .isObserved = [&services](const std::string& name) {
            return services.systemEvents().isObserved(name);
        },
        .pressKey = {}};
    if (services.simulatedKeyboard())
        services.desktop().setShortcutHandler([&services](const std::string& combination) {
            return services.simulatedKeyboard()->press({combination});
        });
    if (auto* desktop = services.desktop().simulated())
        simulated.pressKey = [desktop](const std::string& combination) {
            return desktop->key(combination);
        };
    else if (services.simulatedKeyboard())
        simulated.pressKey = [&services](const std::string& combination) {
            return services.simulatedKeyboard()->press({combination});
        };
    app::bindSimCommands(controlCommands, simulated);
    app::bindDesktopCommands(controlCommands, services.desktop(),
                             services.windowsServices().apps, services.mainQueue());
    app::bindDisplayCommands(controlCommands, services.desktop(), services.displayServices().overlays,
                             services.simulatedCameras());
    {
        auto viewShortcuts = std::dynamic_pointer_cast<input::ViewShortcutTask>(
            services.catalogue().find("ViewShortcutTask"));
        app::bindInputCommands(controlCommands, viewShortcuts ? &viewShortcuts->manager() : nullptr);
    }
    window.addAutomationPage([&services] {
        return new ui::AutomationPage(*services.automation(), services.catalogue());
    });
    trace.mark("automation page");
    // Said at the first turn of the event loop, once the window is up. The
    // start-up steps (links, triggers, shortcuts, automation) follow it: none
    // of them shows anything. Posted before the commands are bound, so any
    // request waits on the main queue until they have run.
    services.mainQueue().post([&services, &trace, &window] {
        trace.mark("first turn of the event loop");
        std::cout << "Quorvane is running.\n"
                  << "  records:  " << services.persistor().location() << "\n"
                  << "  settings: " << services.paths().userDefaults.string() << "\n"
                  << "  journal:  " << services.paths().journal.string() << "\n"
                  << "Press Ctrl-C to quit." << std::endl;
        services.start();
        trace.mark("start-up steps");
        // It asks the system bus who is there.
        window.setActivityNotice(QString::fromStdString(services.watchSessionEvents()));
    });
    running = &services;
    commands.store(&controlCommands);
    trace.mark("control commands bound");
    const int status = QApplication::exec();

    // First, so no client holds up the exit: the event loop answers nothing
    // from here on.
    quitting.set();
    control.stop();
    statusItemWatch.cancel();
    services.setPermissionPanel(nullptr);
    services.setAlertPanel(nullptr);
    services.setClearScreen(nullptr);
    services.setEmojiPicker(nullptr, nullptr);
    ui::EmojiPicker::setSource(nullptr);
    commands.store(nullptr);
    services.terminate();
    std::cout << "Quorvane saved its records and quit." << std::endl;
    return status;
}

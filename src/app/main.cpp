#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/AppServices.hpp"
#include "app/CommandClient.hpp"
#include "app/ControlCommands.hpp"
#include "app/InProcessInstance.hpp"
#include "cli/CommandLine.hpp"
#include "cli/JournalCommand.hpp"
#include "cli/ListCommand.hpp"
#include "core/AppIdentity.hpp"
#include "core/catalogue/CatalogueRow.hpp"
#include "platform/posix/ControlSocket.hpp"
#include "platform/posix/FileJournal.hpp"
#include "platform/posix/StderrLog.hpp"
#include "platform/sim/SimHome.hpp"
#include "platform/sim/SimHotkeys.hpp"
#include "platform/sim/SimSystemEvents.hpp"
#include "platform/qt/UnixSignalWatcher.hpp"
#include "ui/AlertPanel.hpp"
#include "ui/EmojiImages.hpp"
#include "ui/MainWindow.hpp"
#include "ui/MenuBarService.hpp"
#include "ui/PermissionPanel.hpp"
#include "ui/SettingsWindow.hpp"
#include "ui/SystemViews.hpp"
#include "ui/TriggerViews.hpp"
#include "ui/automation/AutomationPage.hpp"
#include "ui/shortcuts/ShortcutSettingsTab.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"
#include "ui/workflows/WorkflowSettingsTab.hpp"

using namespace quorvane;

namespace {

// Lists the catalogue as this build has it (which tweaks are available)
// with the user's own scripts, without a display and without writing the
// user's records.
int listCatalogue(const cli::ListOptions& options) {
    app::HeadlessApplication application;

    app::AppServices services(platform::posix::XdgDirectories::current());
    return cli::listTweaks(options, services.catalogue(), services.store(), std::cout, std::cerr);
}

int showJournal(bool json) {
    platform::posix::StderrLog log;
    const auto paths = app::AppPaths::from(platform::posix::XdgDirectories::current());
    cli::printJournal(platform::posix::FileJournal(paths.journal, log), json, std::cout);
    return 0;
}

int setAdminPrompt(bool approves) {
    const auto paths = app::AppPaths::from(platform::posix::XdgDirectories::current());
    auto saved = platform::sim::SimHome(paths.simulatedMac).setAdminPromptApproves(approves);
    if (!saved) {
        std::cerr << "quorvane: " << saved.error().message << "\n";
        return 1;
    }
    std::cout << "The simulated Mac now " << (approves ? "approves" : "cancels")
              << " administrator prompts.\n";
    return 0;
}

std::filesystem::path socketPath() {
    return platform::posix::controlSocketPath(
        platform::posix::XdgDirectories::current().runtimeDir);
}

// What happened to the tweak a command named.
int reportTweak(const nlohmann::json& reply, const std::string& asked, const std::string& done) {
    if (reply.value("found", true) == false) {
        // Scripts that call this keep working when a tweak is renamed.
        std::cerr << "quorvane: no such tweak \"" << asked << "\"\n";
        return 0;
    }
    std::cout << done;
    if (reply.value("available", true) == false)
        std::cout << " (not available in this build: nothing happened)";
    std::cout << "\n";
    return 0;
}

int tweakCommand(const cli::CommandLine& command) {
    app::CommandClient client(std::cout, std::cerr);
    const std::string state = command.on ? " on." : " off.";
    switch (command.action) {
        case cli::CommandLine::Action::runNamed:
            return client.askOrHandleHere(
                {{"command", "runNamed"}, {"name", command.tweakName}}, [&](const auto& reply) {
                    return reportTweak(reply, command.tweakName, "Ran " + command.tweakName + ".");
                });
        case cli::CommandLine::Action::toggleNamed:
            return client.askOrHandleHere(
                {{"command", "toggleNamed"}, {"name", command.tweakName}, {"on", command.on}},
                [&](const auto& reply) {
                    return reportTweak(reply, command.tweakName,
                                       "Switched " + command.tweakName + state);
                });
        case cli::CommandLine::Action::set:
            return client.askOrHandleHere(
                {{"command", "set"}, {"id", command.tweakId}, {"on", command.on}},
                [&](const auto& reply) {
                    return reportTweak(reply, command.tweakId,
                                       "Switched " + command.tweakId + state);
                });
        default:
            return client.ask({{"command", "post"}, {"name", command.eventName}},
                              [&](const nlohmann::json& reply) {
                                  const int observers = reply.value("observers", 0);
                                  std::cout << "Posted " << command.eventName << " (" << observers
                                            << (observers == 1 ? " observer)\n" : " observers)\n");
                                  return 0;
                              });
    }
}

void showAbout() {
    QMessageBox::about(nullptr, QStringLiteral("Quorvane"),
                       QObject::tr("Quorvane %1 (%2)\nSmall system tweaks from the status area.")
                           .arg(QStringLiteral(QUORVANE_VERSION), QStringLiteral(QUORVANE_BUILD)));
}

int setGrant(const std::string& permission, bool granted) {
    const auto paths = app::AppPaths::from(platform::posix::XdgDirectories::current());
    const auto which = permission == "accessibility" ? platform::Permission::accessibility
                                                     : platform::Permission::screenRecording;
    if (auto saved = platform::sim::SimHome(paths.simulatedMac).setGranted(which, granted);
        !saved) {
        std::cerr << "quorvane: " << saved.error().message << "\n";
        return 1;
    }
    std::cout << "The simulated Mac has " << (granted ? "granted " : "revoked ")
              << platform::title(which) << " permission.\n";
    return 0;
}

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
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    auto command = cli::parseCommandLine(arguments);
    if (!command) {
        std::cerr << "quorvane: " << command.error().message << "\n";
        return 2;
    }
    switch (command.value().action) {
        case cli::CommandLine::Action::help:
            std::cout << cli::usageText();
            return 0;
        case cli::CommandLine::Action::version:
            std::cout << cli::versionText();
            return 0;
        case cli::CommandLine::Action::list:
            return listCatalogue(command.value().list);
        case cli::CommandLine::Action::journal:
            return showJournal(command.value().json);
        case cli::CommandLine::Action::simAdmin:
            return setAdminPrompt(command.value().adminApproves);
        case cli::CommandLine::Action::simGrant:
            return setGrant(command.value().permission, command.value().on);
        case cli::CommandLine::Action::runNamed:
        case cli::CommandLine::Action::toggleNamed:
        case cli::CommandLine::Action::set:
        case cli::CommandLine::Action::simPost:
            return tweakCommand(command.value());
        case cli::CommandLine::Action::simPress:
            return app::CommandClient(std::cout, std::cerr)
                .ask({{"command", "press"}, {"combination", command.value().eventName}},
                     [&](const nlohmann::json& reply) {
                         std::cout
                             << "Pressed " << command.value().eventName
                             << (reply.value("taken", false) ? "\n" : " (no shortcut has it)\n");
                         return 0;
                     });
        case cli::CommandLine::Action::finderAction:
            return app::CommandClient(std::cout, std::cerr)
                .ask({{"command", "finderAction"},
                      {"actionId", command.value().actionId},
                      {"paths", command.value().paths}},
                     [](const nlohmann::json&) { return 0; });
        case cli::CommandLine::Action::start:
            break;
    }

    chooseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
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
    std::atomic<app::ControlCommands*> commands{nullptr};
    app::AppServices* running = nullptr;
    platform::posix::ControlServer control(
        socketPath(),
        [&](const std::string& request) {
            auto* handler = commands.load();
            if (!handler)
                return std::string(R"({"ok":false,"error":"Quorvane is starting; try again"})");
            return app::handleOnMainQueue(running->mainQueue(), *handler, request);
        },
        controlLog);
    if (auto started = control.start(); !started) {
        if (started.error().message == platform::posix::ControlServer::alreadyRunning) {
            const bool handedOver =
                bool(platform::posix::sendControlRequest(socketPath(), R"({"command":"reopen"})"));
            std::cout << (handedOver ? "Quorvane is already running; asked it to show its window.\n"
                                     : "Quorvane is already running.\n");
            return 0;
        }
        controlLog.error("ControlSocket",
                         started.error().message + "; the command line cannot reach this instance");
    }

    app::AppServices services(platform::posix::XdgDirectories::current());
    services.useSessionHotkeys();
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
    // Made the first time it is opened.
    std::unique_ptr<ui::SettingsWindow> settings;
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
        settings->show();
        settings->raise();
        settings->activateWindow();
    };
    ui::MainWindow window(
        {.list = lists,
         .journal = services.journal(),
         .simulationNotice =
             QObject::tr("This computer is not a Mac: Quorvane drives a simulated Mac kept in %1. "
                         "Commands really run, against its stand-in tools and home folder.")
                 .arg(QString::fromStdString(services.paths().simulatedMac.string())),
         .openSettings = openSettings,
         .closed = [&services] { services.activationPolicy().becomeAccessory(); },
         .configureViews =
             ui::firstOf({ui::systemConfigureViews(services.systemServices()),
                          ui::triggerConfigureViews(services.scriptTasks(), services.workspace())}),
         .defaults = &services.userDefaults(),
         .hotkeys = services.hotkeys(),
         .addScript = [&services] { return services.scriptTasks().add().id; }});
    ui::PermissionPanel permissionPanel(services.workspace());
    services.setPermissionPanel(&permissionPanel);
    ui::AlertPanel alertPanel;
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
                                      .showAbout = [] { showAbout(); },
                                      .quit = quit});
        return *popover;
    };
    ui::MenuBarService menuBar(
        makePopover,
        {.openMain = openMain,
         .showHelp = [documentation] { QDesktopServices::openUrl(QUrl(documentation)); },
         .quit = quit,
         .noItem = [&window] { window.show(); }});
    auto showStatusItem = [&] { menuBar.update(services.store().preference->showsInMenuBar); };
    core::Subscription statusItemWatch =
        services.store().preference.subscribe([&](const core::Preference&) { showStatusItem(); });
    showStatusItem();
    if (!services.store().hideMainWindowAtLaunch.get())
        window.show();
    app::ControlCommands controlCommands(
        services.catalogue(), services.tweakActions(), openMain,
        [&services](const std::string& name) { return services.simulatedEvents().post(name); },
        &services.finderActions(),
        services.simulatedKeyboard()
            ? app::ControlCommands::PressKey([&services](const std::string& combination) {
                  return services.simulatedKeyboard()->press({combination});
              })
            : app::ControlCommands::PressKey());
    running = &services;
    commands.store(&controlCommands);
    std::cout << "Quorvane is running.\n"
              << "  records:  " << services.persistor().location() << "\n"
              << "  settings: " << services.paths().userDefaults.string() << "\n"
              << "  journal:  " << services.paths().journal.string() << "\n"
              << "Press Ctrl-C to quit." << std::endl;

    services.start();
    window.addAutomationPage(new ui::AutomationPage(*services.automation(), services.catalogue()));
    const int status = QApplication::exec();

    statusItemWatch.cancel();
    services.setPermissionPanel(nullptr);
    services.setAlertPanel(nullptr);
    commands.store(nullptr);
    services.terminate();
    std::cout << "Quorvane saved its records and quit." << std::endl;
    return status;
}

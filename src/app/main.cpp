#include <QApplication>
#include <QPointer>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <malloc.h>

#include "adapters/qt/FontListWarmUp.hpp"
#include "adapters/qt/UnixSignalWatcher.hpp"
#include "app/CommandLineTool.hpp"
#include "app/ControlBindings.hpp"
#include "app/FrontEnd.hpp"
#include "cli/CommandLine.hpp"
#include "control/InstanceServer.hpp"
#include "core/AppIdentity.hpp"
#include "simmac/commands/SimCommandLine.hpp"
#include "wiring/AppServices.hpp"
#include "wiring/StartupTrace.hpp"

using namespace quorvane;

// Without any display the program still runs, with windows kept off screen.
static void chooseOffscreenWithoutDisplay() {
    auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int main(int argc, char** argv) {
    app::StartupTrace trace;
    simmac::addSimCommands();
    auto command = cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!command) {
        std::cerr << "quorvane: " << command.error().message << "\n";
        return 2;
    }
    if (command.value().action != cli::CommandLine::Action::start)
        return app::runCommandLine(command.value());

    // Two heaps at most, set before any thread starts: the second thread
    // (the font list's reader, while the main thread builds the services)
    // gets one of its own and the two never wait on each other; the rest
    // mostly sleep, and sharing spares each a heap of its own.
    mallopt(M_ARENA_MAX, 2);
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
    // Without a private folder for the lock there is no telling whether
    // another instance runs: better not to start than to run twice.
    const auto socket = app::controlSocketFor(platform::posix::XdgDirectories::current());
    if (!socket) {
        std::cerr << "quorvane: " << socket.error().message << "\n";
        return 1;
    }
    app::InstanceServer instance(socket.value());
    if (auto exitStatus = instance.startOrHandOver(std::cout, std::cerr))
        return *exitStatus;
    // This instance will show a window: its fonts are read meanwhile.
    const platform::qt::FontListWarmUp fonts;

    app::AppServices services(platform::posix::XdgDirectories::current());
    trace.mark("services and records");
    services.useSessionHotkeys();
    services.watchPopups();
    trace.mark("session hotkeys");
    int status = 0;
    {
        app::FrontEnd frontEnd(services, QStringLiteral(QUORVANE_VERSION " (" QUORVANE_BUILD ")"),
                               trace);
        app::ControlCommands controlCommands;
        app::bindControlCommands(controlCommands, services, frontEnd);
        // Said at the first turn of the event loop, once the window is up.
        // The start-up steps (links, triggers, shortcuts, automation) follow
        // it: none of them shows anything. Posted before the commands are
        // bound, so any request waits on the main queue until they have run.
        services.mainQueue().post([&services, &trace, &frontEnd] {
            trace.mark("first turn of the event loop");
            std::cout << "Quorvane is running.\n"
                      << "  records:  " << services.persistor().location() << "\n"
                      << "  settings: " << services.paths().userDefaults.string() << "\n"
                      << "  journal:  " << services.paths().journal.string() << "\n"
                      << "Press Ctrl-C to quit." << std::endl;
            services.start();
            trace.mark("start-up steps");
            // From the first rule on: it asks the system bus who is there.
            services.watchSessionEvents(
                [window = QPointer<ui::MainWindow>(&frontEnd.window())](const std::string& notice) {
                    if (window)
                        window->setActivityNotice(QString::fromStdString(notice));
                });
        });
        instance.serve(controlCommands, services.mainQueue());
        trace.mark("control commands bound");
        status = QApplication::exec();
        // First, so no client holds up the exit: the event loop answers
        // nothing from here on.
        instance.stop();
    }
    services.terminate();
    std::cout << "Quorvane saved its records and quit." << std::endl;
    return status;
}

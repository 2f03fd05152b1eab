#include <QGuiApplication>
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "app/AppServices.hpp"
#include "cli/CommandLine.hpp"
#include "cli/JournalCommand.hpp"
#include "cli/ListCommand.hpp"
#include "core/AppIdentity.hpp"
#include "platform/memory/ManualMainQueue.hpp"
#include "platform/memory/MemoryBlobStore.hpp"
#include "platform/memory/MemoryUserDefaults.hpp"
#include "platform/qt/UnixSignalWatcher.hpp"

using namespace quorvane;

namespace {

// Reads the catalogue without touching the user's files or needing a display.
int listCatalogue(const cli::ListOptions& options) {
    platform::memory::MemoryUserDefaults defaults;
    platform::memory::MemoryBlobStore records;
    platform::memory::ManualMainQueue queue;
    platform::posix::StderrLog log;
    core::Persistor persistor(&records, queue, log);
    core::Store store(defaults, persistor);
    core::NoScriptTweaks scripts;
    core::TweakFactory factory;
    core::Catalogue catalogue(factory, store, log, scripts);
    return cli::listTweaks(options, catalogue, store, std::cout, std::cerr);
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

// Without any display the program still runs, with windows kept off screen.
void chooseOffscreenWithoutDisplay() {
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
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
        case cli::CommandLine::Action::start:
            break;
    }

    chooseOffscreenWithoutDisplay();
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QString::fromUtf8(
        core::applicationName.data(), static_cast<qsizetype>(core::applicationName.size())));
    QGuiApplication::setQuitOnLastWindowClosed(false);

    // Ctrl-C, a kill or the end of the session quit through the event loop,
    // so the records are saved as on any normal exit. Installed first: a
    // signal that comes during start-up waits for the loop instead of
    // ending the process unsaved.
    platform::qt::UnixSignalWatcher quitOnSignal({SIGINT, SIGTERM, SIGHUP},
                                                 [](int) { QGuiApplication::quit(); });

    app::AppServices services(platform::posix::XdgDirectories::current());
    std::cout << "Quorvane is running.\n"
              << "  records:  " << services.persistor().location() << "\n"
              << "  settings: " << services.paths().userDefaults.string() << "\n"
              << "  journal:  " << services.paths().journal.string() << "\n"
              << "Press Ctrl-C to quit." << std::endl;

    services.start();
    const int status = QGuiApplication::exec();

    services.terminate();
    std::cout << "Quorvane saved its records and quit." << std::endl;
    return status;
}

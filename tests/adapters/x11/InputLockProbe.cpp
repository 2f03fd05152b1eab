// Holds an input lock until it ends the way it is told: killed from
// outside (no argument), by a crash of its own ("crash"), or by a main
// thread that stops answering for 3 s ("stall"), after which it says how
// the lock ended. The X server, or the lock's watchdog, must give the
// input back however it ends.
#include <QGuiApplication>
#include <QTimer>
#include <csignal>
#include <iostream>
#include <string>
#include <thread>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/qt/QtMainQueue.hpp"
#include "adapters/qt/QtScreens.hpp"
#include "adapters/x11/XcbInput.hpp"

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const std::string how = argc > 1 ? argv[1] : "";
    quorvane::platform::memory::MemoryLog log;
    quorvane::platform::qt::QtMainQueue queue;
    auto input = quorvane::platform::x11::XcbInput::connect(
        queue, log, {.primaryRootFrame = &quorvane::platform::qt::QtScreens::primaryRootFrame});
    if (!input || !input->swallowAll({}, [](const std::string& why) {
            std::cout << "ended: " << why << std::endl;
            QGuiApplication::quit();
        })) {
        std::cout << "refused" << std::endl;
        return 1;
    }
    std::cout << "locked" << std::endl;
    if (how == "crash")
        QTimer::singleShot(200, [] { std::raise(SIGSEGV); });
    if (how == "stall")
        QTimer::singleShot(200, [] { std::this_thread::sleep_for(std::chrono::seconds(3)); });
    return QGuiApplication::exec();
}

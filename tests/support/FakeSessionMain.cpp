// logind and a screen saver on the session bus, for driving the real
// program's system events by hand or from a script. Prints "ready", then
// reads one command per line: sleep, wake, poweroff, lock, unlock,
// saver-on, saver-off, inhibitors (prints "N taken, M released").
#include <QCoreApplication>
#include <QSocketNotifier>
#include <iostream>
#include <string>
#include <unistd.h>

#include "support/FakeSession.hpp"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    quorvane::testing::FakeSession session(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"));
    if (!session.registered()) {
        std::cerr << "fake session: cannot take org.freedesktop.login1\n";
        return 1;
    }
    std::cout << "ready" << std::endl;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&session, &input] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        if (line == "sleep" || line == "wake")
            session.prepareForSleep(line == "sleep");
        else if (line == "poweroff")
            session.prepareForShutdown(true);
        else if (line == "lock")
            session.lock();
        else if (line == "unlock")
            session.unlock();
        else if (line == "saver-on" || line == "saver-off")
            session.screenSaverActive(line == "saver-on");
        else if (line == "inhibitors") {
            std::size_t released = 0;
            for (std::size_t i = 0; i < session.inhibitCalls().size(); ++i)
                released += session.released(i) ? 1u : 0u;
            std::cout << session.inhibitCalls().size() << " taken, " << released << " released"
                      << std::endl;
        } else
            std::cerr << "fake session: unknown command " << line << "\n";
    });
    return QCoreApplication::exec();
}

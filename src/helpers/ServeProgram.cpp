#include "helpers/ServeProgram.hpp"

#include <QSocketNotifier>
#include <QTimer>
#include <unistd.h>

#include <cstdlib>

#include "adapters/posix/HelperRecords.hpp"

namespace quorvane::helpers {

bool keepStandardOutputClean() {
    return ::dup2(STDERR_FILENO, STDOUT_FILENO) >= 0;
}

int serveProgram(QCoreApplication& application, platform::posix::HelperServer& server,
                 std::chrono::milliseconds idleAfter) {
    if (const char* idle = std::getenv("QUORVANE_HELPER_IDLE_MS"))
        if (const auto milliseconds = platform::posix::numberIn(idle); milliseconds && *milliseconds > 0)
            idleAfter = std::chrono::milliseconds(*milliseconds);
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(idleAfter);
    QObject::connect(&idle, &QTimer::timeout, &application, [&] {
        if (server.idle())
            application.exit(0);
    });
    QSocketNotifier requests(programSocket, QSocketNotifier::Read);
    QObject::connect(&requests, &QSocketNotifier::activated, &application, [&] {
        auto record = platform::posix::receiveRecord(programSocket);
        if (!record) {
            requests.setEnabled(false);
            application.exit(0);
            return;
        }
        if (!server.serve(*record)) {
            requests.setEnabled(false);
            application.exit(1);
            return;
        }
        if (server.idle())
            idle.start();
        else
            idle.stop();
    });
    idle.start();
    return application.exec();
}

}  // namespace quorvane::helpers

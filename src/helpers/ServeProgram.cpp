#include "helpers/ServeProgram.hpp"

#include <QSocketNotifier>
#include <QTimer>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>

#include "adapters/posix/HelperRecords.hpp"

namespace quorvane::helpers {

int takeProgramSocket() {
    const int socket = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (socket < 0 || nothing < 0 || ::dup2(nothing, STDIN_FILENO) < 0 ||
        ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return -1;
    ::close(nothing);
    return socket;
}

void serveProgram(QCoreApplication& application, platform::posix::HelperServer& server, int socket,
                 std::chrono::milliseconds idleAfter) {
    if (const char* idle = std::getenv("QUORVANE_HELPER_IDLE_MS"))
        if (const auto milliseconds = platform::posix::numberIn(idle); milliseconds && *milliseconds > 0)
            idleAfter = std::chrono::milliseconds(*milliseconds);
    using Clock = std::chrono::steady_clock;
    auto lastBusy = Clock::now();
    // Looked at four times a period: work that ends on its own (a camera
    // unplugged) counts from when it was last seen.
    QTimer idle;
    idle.setInterval(std::max<std::chrono::milliseconds>(idleAfter / 4, std::chrono::milliseconds(10)));
    QObject::connect(&idle, &QTimer::timeout, &application, [&] {
        if (!server.idle()) {
            lastBusy = Clock::now();
            return;
        }
        pollfd waiting{socket, POLLIN, 0};
        if (Clock::now() - lastBusy >= idleAfter && ::poll(&waiting, 1, 0) == 0)
            application.exit(0);
    });
    QSocketNotifier requests(socket, QSocketNotifier::Read);
    QObject::connect(&requests, &QSocketNotifier::activated, &application, [&] {
        lastBusy = Clock::now();
        auto record = platform::posix::receiveRecord(socket);
        if (!record || !server.serve(*record)) {
            requests.setEnabled(false);
            application.exit(record ? 1 : 0);
        }
    });
    idle.start();
    std::_Exit(application.exec());
}

}  // namespace quorvane::helpers

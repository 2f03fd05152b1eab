#include "adapters/qt/UnixSignalWatcher.hpp"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <utility>

namespace quorvane::platform::qt {

namespace {

// The handler may only touch async-signal-safe state: one descriptor.
std::atomic<int> writeEnd{-1};
int readEnd = -1;

extern "C" void forwardSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    if (int fd = writeEnd.load(); fd >= 0) [[maybe_unused]]
        auto ignored = ::write(fd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

UnixSignalWatcher::UnixSignalWatcher(std::vector<int> signalNumbers, Handler handler)
    : handler_(std::move(handler)) {
    if (writeEnd.load() >= 0)
        throw std::logic_error("only one UnixSignalWatcher may exist");
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0)
        return;
    signalNumbers_ = std::move(signalNumbers);
    readEnd = fds[0];
    writeEnd.store(fds[1]);

    notifier_ = std::make_unique<QSocketNotifier>(readEnd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readSignal(); });

    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : signalNumbers_)
        ::sigaction(signal, &action, nullptr);
}

UnixSignalWatcher::~UnixSignalWatcher() {
    if (!notifier_)
        return;
    for (int signal : signalNumbers_)
        ::signal(signal, SIG_DFL);
    notifier_.reset();
    ::close(writeEnd.exchange(-1));
    ::close(std::exchange(readEnd, -1));
}

void UnixSignalWatcher::readSignal() {
    unsigned char byte = 0;
    while (::read(readEnd, &byte, 1) == 1)
        handler_(byte);
}

}  // namespace quorvane::platform::qt

#include "adapters/posix/ControlSocket.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

namespace {

constexpr std::string_view source = "ControlSocket";

bool fillAddress(const std::filesystem::path& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t wrote = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (wrote < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        sent += static_cast<std::size_t>(wrote);
    }
    return true;
}

}  // namespace

std::optional<std::string> readLine(int fd, std::size_t limit, std::chrono::milliseconds timeout,
                                    NoLine* why) {
    NoLine ignored{};
    NoLine& end = why ? *why : ignored;
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char chunk[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        end = NoLine::timedOut;
        if (left.count() <= 0)
            return std::nullopt;
        pollfd wanted{fd, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            end = got < 0 && errno == ECONNRESET && line.empty() ? NoLine::reset : NoLine::closed;
            return std::nullopt;
        }
        // Only the new bytes are searched: a long answer costs its length,
        // not its length squared.
        const auto searched = line.size();
        line.append(chunk, static_cast<std::size_t>(got));
        const auto newline = line.find('\n', searched);
        end = NoLine::tooLong;
        if (std::min(newline, line.size()) > limit)
            return std::nullopt;
        if (newline != std::string::npos)
            return line.substr(0, newline);
    }
}

std::filesystem::path controlSocketPath(const std::optional<std::filesystem::path>& runtimeDir) {
    if (runtimeDir)
        return *runtimeDir / "quorvane" / "control.sock";
    return std::filesystem::path("/tmp") / ("quorvane-" + std::to_string(::getuid())) /
           "control.sock";
}

namespace {

// Empty when the folder is this user's alone (made if missing); else why not.
std::string whyNotPrivate(const std::filesystem::path& folder) {
    if (auto made = makePrivateDirectory(folder); !made) {
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0)
            return made.error().message;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return folder.string() + " cannot be inspected";
    if (!S_ISDIR(info.st_mode))
        return folder.string() + " is not a folder";
    if (info.st_uid != ::getuid()) {
        const passwd* owner = ::getpwuid(info.st_uid);
        return folder.string() + " belongs to " +
               (owner ? std::string(owner->pw_name) : std::string("another user")) + " (uid " +
               std::to_string(info.st_uid) + ")";
    }
    if ((info.st_mode & 077) != 0)
        return folder.string() + " can be entered by other users";
    return {};
}

}  // namespace

Result<std::filesystem::path> privateControlSocketPath(
    const std::optional<std::filesystem::path>& runtimeDir,
    const std::filesystem::path& fallbackFolder) {
    const auto preferred = controlSocketPath(runtimeDir);
    const std::string problem = whyNotPrivate(preferred.parent_path());
    if (problem.empty())
        return preferred;
    const auto fallback = fallbackFolder / preferred.filename();
    sockaddr_un address{};
    const std::string fallbackProblem = whyNotPrivate(fallbackFolder);
    if (fallbackProblem.empty() && fillAddress(fallback, address))
        return fallback;
    return Error{"no private folder for the control socket: " + problem + "; and " +
                 (fallbackProblem.empty() ? fallback.string() + " is too long a socket path"
                                          : fallbackProblem)};
}

ControlServer::ControlServer(std::filesystem::path socketPath, Handler handler, Log& log)
    : path_(std::move(socketPath)), handler_(std::move(handler)), log_(log) {}

ControlServer::~ControlServer() {
    stop();
    if (listener_ >= 0)
        ::unlink(path_.c_str());
    for (int fd : {listener_, wakeRead_, wakeWrite_, lock_})
        if (fd >= 0)
            ::close(fd);
}

void ControlServer::stop() {
    if (stopping_.exchange(true) || !thread_.joinable())
        return;
    const char stop = 'x';
    [[maybe_unused]] auto ignored = ::write(wakeWrite_, &stop, 1);
    thread_.join();
    // Wake every worker in the middle of a read (it answers that nothing was
    // done); one waiting for its answer is let go by the handler's own
    // quitting flag. Connections never accepted are reset as the listener
    // closes, which their clients read as not taken.
    std::list<Worker> workers;
    {
        std::lock_guard lock(workersMutex_);
        for (auto& worker : workers_)
            if (worker.connection >= 0)
                ::shutdown(worker.connection, SHUT_RD);
        workers.swap(workers_);
    }
    for (auto& worker : workers)
        worker.thread.join();
}

std::size_t ControlServer::openConnections() {
    std::lock_guard lock(workersMutex_);
    return static_cast<std::size_t>(std::count_if(
        workers_.begin(), workers_.end(), [](const Worker& worker) { return !worker.done; }));
}

void ControlServer::reapFinished() {
    std::list<Worker> finished;
    {
        std::lock_guard lock(workersMutex_);
        for (auto worker = workers_.begin(); worker != workers_.end();) {
            auto next = std::next(worker);
            if (worker->done)
                finished.splice(finished.end(), workers_, worker);
            worker = next;
        }
    }
    for (auto& worker : finished)
        worker.thread.join();
}

Status ControlServer::start() {
    const auto folder = path_.parent_path();
    if (auto made = makePrivateDirectory(folder); !made)
        return made;
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0)
        return Error{folder.string() + " must be a folder of this user that nobody else can enter"};

    sockaddr_un address{};
    if (!fillAddress(path_, address))
        return Error{"socket path too long: " + path_.string()};
    // The lock is the instance: held for as long as this process lives,
    // released by the system however it ends.
    const auto lockPath = folder / "control.lock";
    lock_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock_ < 0)
        return Error{"cannot open " + lockPath.string() + ": " + std::strerror(errno)};
    if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        ::close(std::exchange(lock_, -1));
        return Error{alreadyRunning};
    }
    ::unlink(path_.c_str());  // left behind by an instance that died

    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        return Error{std::string("cannot create the control socket: ") + std::strerror(errno)};
    const mode_t previous = ::umask(077);
    const int bound = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::umask(previous);
    if (bound != 0 || ::chmod(path_.c_str(), 0600) != 0 || ::listen(listener_, 8) != 0)
        return Error{"cannot listen on " + path_.string() + ": " + std::strerror(errno)};

    int wake[2];
    if (::pipe2(wake, O_CLOEXEC) != 0)
        return Error{"cannot create a pipe"};
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    thread_ = std::thread([this] { serve(); });
    return success();
}

void ControlServer::serve() {
    for (;;) {
        pollfd wanted[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(wanted, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (wanted[1].revents != 0)
            return;
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        reapFinished();
        std::lock_guard lock(workersMutex_);
        if (workers_.size() >= maxConnections) {
            writeAll(connection, std::string(busyAnswer) + "\n");
            ::close(connection);
            log_.warning(source, "refused a connection: too many at once");
            continue;
        }
        auto& worker = workers_.emplace_back(Worker{{}, connection});
        worker.thread = std::thread([this, &worker, connection] {
            answer(connection);
            std::lock_guard done(workersMutex_);
            ::close(connection);
            worker.connection = -1;
            worker.done = true;
        });
    }
}

void ControlServer::answer(int connection) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 ||
        peer.uid != ::getuid()) {
        log_.warning(source, "refused a connection from another user");
        return;
    }
    NoLine why{};
    auto request = readLine(connection, maxRequestBytes, requestTimeout, &why);
    if (!request && stopping_) {
        writeAll(connection, std::string(stoppedAnswer) + "\n");
        return;
    }
    if (!request && why == NoLine::tooLong) {
        log_.warning(source, "refused a request: too long");
        // Said, then the rest of it read and dropped for a moment, so that
        // closing with it unread does not reset the answer away.
        writeAll(connection, std::string(tooLongAnswer) + "\n");
        ::shutdown(connection, SHUT_WR);
        char rest[4096];
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (int chunks = 0; chunks < 256 && std::chrono::steady_clock::now() < until; ++chunks) {
            pollfd readable{connection, POLLIN, 0};
            if (::poll(&readable, 1, 100) <= 0 || ::recv(connection, rest, sizeof rest, 0) <= 0)
                break;
        }
        return;
    }
    if (!request) {
        log_.warning(source, "refused a request: unfinished or too slow");
        return;
    }
    writeAll(connection, handler_(*request) + "\n");
}

Result<std::string> sendControlRequest(const std::filesystem::path& socketPath,
                                       const std::string& request,
                                       std::chrono::milliseconds timeout) {
    sockaddr_un address{};
    if (!fillAddress(socketPath, address))
        return Error{"socket path too long"};
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Error{std::strerror(errno)};
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return Error{notRunning};
    if (!writeAll(fd, request + "\n")) {
        // Refused before it was read (too many connections): the reason
        // may already be waiting.
        if (auto refusal = readLine(fd, 64 * 1024, std::chrono::milliseconds(100)))
            return *refusal;
        return Error{"the running Quorvane did not take the request"};
    }
    NoLine why{};
    auto answer = readLine(fd, 16 * 1024 * 1024, timeout, &why);
    if (!answer && why == NoLine::reset)
        return Error{notTaken};
    if (!answer && why == NoLine::closed)
        return Error{closedUnanswered};
    if (!answer)
        return Error{noAnswer};
    return *answer;
}

}  // namespace quorvane::platform::posix

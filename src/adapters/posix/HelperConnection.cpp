#include "adapters/posix/HelperConnection.hpp"

#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace quorvane::platform::posix {

namespace {

// The connection whose records this thread reads, if any.
thread_local const HelperConnection* readingFor = nullptr;

}  // namespace

HelperConnection::HelperConnection(Log& log, std::string source, std::string what,
                                   std::filesystem::path program, Events events, Ended ended,
                                   std::chrono::milliseconds patience)
    : log_(log),
      source_(std::move(source)),
      what_(std::move(what)),
      program_(std::move(program)),
      events_(std::move(events)),
      ended_(std::move(ended)),
      patience_(patience) {}

HelperConnection::~HelperConnection() {
    end();
}

std::uint64_t HelperConnection::generation() const {
    std::lock_guard lock(mutex_);
    return left_ ? 0 : generation_;
}

std::optional<pid_t> HelperConnection::helper() const {
    std::lock_guard lock(mutex_);
    return left_ || pid_ <= 0 ? std::nullopt : std::optional<pid_t>(pid_);
}

HelperConnection::Socket::~Socket() {
    if (fd >= 0)
        ::close(fd);
}

void HelperConnection::forgetLocked(std::unique_lock<std::mutex>& lock) {
    if (reader_.joinable()) {
        if (readingFor == this) {
            // Ended from its own events: the reader finishes on its own.
            reader_.detach();
        } else {
            lock.unlock();
            reader_.join();
            lock.lock();
        }
    }
    socket_.reset();
}

bool HelperConnection::startLocked(std::unique_lock<std::mutex>& lock) {
    if (closed_)
        return false;
    // The one before is gone: its reader is done, or about to be.
    forgetLocked(lock);
    auto started = startHelper(program_, SOCK_SEQPACKET);
    if (!started) {
        log_.warning(source_, "cannot start the " + what_ + " " + started.error().message);
        return false;
    }
    auto socket = std::make_shared<Socket>();
    socket->fd = started.value().socket;
    socket_ = std::move(socket);
    pid_ = started.value().pid;
    generation_ = ++started_;
    left_ = false;
    reader_ = std::thread([this, socket = socket_, pid = pid_, generation = generation_] {
        read(socket->fd, pid, generation);
    });
    return true;
}

void HelperConnection::read(int socket, pid_t pid, std::uint64_t generation) {
    readingFor = this;
    while (auto record = receiveRecord(socket)) {
        if (record->kind() == "=") {
            std::lock_guard lock(mutex_);
            if (awaiting_ && generation == generation_) {
                record->fields.erase(record->fields.begin());
                answer_ = std::move(record->fields);
                changed_.notify_all();
            }
            continue;
        }
        if (events_)
            events_(*record);
        else if (record->descriptor >= 0)
            ::close(record->descriptor);
    }
    // It left, or was told to: wait for it without reaping, so that its
    // process id stays its own until it is reaped below, under the lock.
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    {
        std::lock_guard lock(mutex_);
        int status = 0;
        ::waitpid(pid, &status, WNOHANG);
        if (pid_ == pid)
            pid_ = -1;
        if (generation == generation_)
            left_ = true;
        changed_.notify_all();
    }
    if (ended_)
        ended_(generation);
}

void HelperConnection::endLocked(std::unique_lock<std::mutex>& lock, bool kill) {
    if (socket_) {
        // Its input ends: it leaves, and the reader with it.
        ::shutdown(socket_->fd, SHUT_RDWR);
        if (kill && pid_ > 0)
            ::kill(pid_, SIGKILL);
        if (readingFor != this &&
            !changed_.wait_for(lock, std::chrono::seconds(2), [&] { return pid_ <= 0; }) && pid_ > 0)
            ::kill(pid_, SIGKILL);
    }
    forgetLocked(lock);
    left_ = true;
}

void HelperConnection::end() {
    std::lock_guard ask(askMutex_);
    std::unique_lock lock(mutex_);
    endLocked(lock, false);
}

void HelperConnection::close() {
    std::lock_guard ask(askMutex_);
    std::unique_lock lock(mutex_);
    closed_ = true;
    endLocked(lock, false);
}

std::optional<std::vector<std::string>> HelperConnection::ask(const std::vector<std::string>& request,
                                                              bool again) {
    // The reader cannot wait for an answer only it would read.
    if (readingFor == this) {
        log_.warning(source_, "the " + what_ + " was asked from its own events; nothing was asked");
        return std::nullopt;
    }
    const std::string bytes = recordBytes(request);
    std::lock_guard asking(askMutex_);
    std::unique_lock lock(mutex_);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (left_ && !startLocked(lock))
            return std::nullopt;
        const std::uint64_t generation = generation_;
        const auto socket = socket_;
        answer_.reset();
        awaiting_ = true;
        // Sent without the lock: a full socket must not hold up the records told meanwhile.
        lock.unlock();
        const bool sent = sendRecord(socket->fd, bytes);
        lock.lock();
        const bool settled = sent && changed_.wait_for(lock, patience_, [&] {
            return answer_.has_value() || left_ || generation != generation_;
        });
        awaiting_ = false;
        if (answer_)
            return std::exchange(answer_, std::nullopt);
        if (sent && !settled) {
            log_.warning(source_, "the " + what_ + " did not answer; it is started afresh next time");
            endLocked(lock, true);
            return std::nullopt;
        }
        // It left before answering (or before reading): gone idle as we
        // asked, or crashed. A failed send means the same.
        if (!left_)
            endLocked(lock, true);
        if (!again)
            break;
    }
    log_.warning(source_, "the " + what_ + " left without answering");
    return std::nullopt;
}

bool HelperConnection::tell(const std::vector<std::string>& record, std::uint64_t generation, bool wait) {
    const std::string bytes = recordBytes(record);
    std::shared_ptr<const Socket> socket;
    {
        std::lock_guard lock(mutex_);
        if (left_ || (generation != 0 && generation != generation_))
            return false;
        socket = socket_;
    }
    return socket && sendRecord(socket->fd, bytes, -1, wait);
}

bool HelperConnection::tellAtOnce(std::string_view bytes, std::uint64_t generation) {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock() || left_ || generation != generation_ || !socket_)
        return false;
    return sendRecord(socket_->fd, bytes, -1, false);
}

}  // namespace quorvane::platform::posix

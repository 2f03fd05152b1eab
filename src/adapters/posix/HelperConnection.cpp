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
    return left_ || !process_.running() ? std::nullopt : std::optional<pid_t>(process_.pid);
}

void HelperConnection::forgetLocked(std::unique_lock<std::mutex>& lock) {
    if (reader_.joinable()) {
        lock.unlock();
        reader_.join();
        lock.lock();
    }
    if (process_.socket >= 0)
        ::close(std::exchange(process_.socket, -1));
}

bool HelperConnection::startLocked(std::unique_lock<std::mutex>& lock) {
    // The one before is gone: its reader is done, or about to be.
    forgetLocked(lock);
    auto started = startHelper(program_, SOCK_SEQPACKET);
    if (!started) {
        log_.warning(source_, "cannot start the " + what_ + " " + started.error().message);
        return false;
    }
    process_ = started.value();
    generation_ = ++started_;
    left_ = false;
    reader_ = std::thread([this, socket = process_.socket, pid = process_.pid, generation = generation_] {
        read(socket, pid, generation);
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
        if (process_.pid == pid)
            process_.pid = -1;
        if (generation == generation_)
            left_ = true;
        changed_.notify_all();
    }
    if (ended_)
        ended_(generation);
}

void HelperConnection::endLocked(std::unique_lock<std::mutex>& lock, bool kill) {
    if (process_.socket >= 0) {
        // Its input ends: it leaves, and the reader with it.
        ::shutdown(process_.socket, SHUT_RDWR);
        if (kill && process_.pid > 0)
            ::kill(process_.pid, SIGKILL);
        if (!changed_.wait_for(lock, std::chrono::seconds(2), [&] { return process_.pid <= 0; }) &&
            process_.pid > 0)
            ::kill(process_.pid, SIGKILL);
    }
    forgetLocked(lock);
    left_ = true;
}

void HelperConnection::end() {
    std::lock_guard ask(askMutex_);
    std::unique_lock lock(mutex_);
    endLocked(lock, false);
}

std::optional<std::vector<std::string>> HelperConnection::ask(const std::vector<std::string>& request,
                                                              bool again) {
    // The reader cannot wait for an answer only it would read.
    if (readingFor == this) {
        log_.warning(source_, "the " + what_ + " was asked from its own events; nothing was asked");
        return std::nullopt;
    }
    std::lock_guard asking(askMutex_);
    std::unique_lock lock(mutex_);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (left_ && !startLocked(lock))
            return std::nullopt;
        const std::uint64_t generation = generation_;
        answer_.reset();
        awaiting_ = true;
        const bool sent = sendRecord(process_.socket, request);
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

bool HelperConnection::tell(const std::vector<std::string>& record, std::uint64_t generation, int descriptor) {
    const std::string bytes = recordBytes(record);
    std::lock_guard lock(mutex_);
    if (left_ || (generation != 0 && generation != generation_))
        return false;
    return sendRecord(process_.socket, bytes, descriptor, false);
}

bool HelperConnection::tellAtOnce(std::string_view bytes, std::uint64_t generation) {
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock() || left_ || generation != generation_)
        return false;
    return sendRecord(process_.socket, bytes, -1, false);
}

}  // namespace quorvane::platform::posix

#include "adapters/posix/RecognitionHelper.hpp"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <utility>

extern char** environ;

namespace quorvane::platform::posix {

namespace {

constexpr std::string_view source = "TextRecognition";

using Clock = std::chrono::steady_clock;

// Waits until `fd` is ready for `events` before `deadline`.
bool readyBefore(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{fd, events, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        return polled > 0;
    }
}

// Writes all of `bytes` before `deadline`: a helper that stops reading is
// given up on, and one gone away is an answer, never a signal.
bool sendAll(int fd, const char* bytes, std::size_t size, Clock::time_point deadline) {
    while (size > 0) {
        if (!readyBefore(fd, POLLOUT, deadline))
            return false;
        const auto put = ::send(fd, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (put <= 0)
            return false;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// Reads exactly `size` bytes before `deadline`.
bool receiveAll(int fd, char* into, std::size_t size, Clock::time_point deadline) {
    while (size > 0) {
        if (!readyBefore(fd, POLLIN, deadline))
            return false;
        const auto got = ::recv(fd, into, size, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return false;
        into += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::array<char, 5> head(char kind, std::uint32_t length) {
    return {kind, static_cast<char>(length & 0xFF), static_cast<char>((length >> 8) & 0xFF),
            static_cast<char>((length >> 16) & 0xFF), static_cast<char>((length >> 24) & 0xFF)};
}

std::uint32_t lengthIn(const std::array<char, 5>& head) {
    std::uint32_t length = 0;
    for (int i = 4; i >= 1; --i)
        length = length << 8 | static_cast<std::uint8_t>(head[static_cast<std::size_t>(i)]);
    return length;
}

}  // namespace

RecognitionHelper::RecognitionHelper(Log& log, std::filesystem::path program,
                                     std::chrono::milliseconds patience)
    : log_(log), program_(std::move(program)), patience_(patience) {}

RecognitionHelper::~RecognitionHelper() {
    end(false);
}

std::optional<std::string> RecognitionHelper::recognizeText(const std::string& image) {
    auto text = ask('T', image);
    // Nothing read and no reader left: it failed on this very picture
    // (crashed, too slow, could not start), not merely found no text.
    textFailed_ = !text && pid_ <= 0;
    return text;
}

std::optional<std::string> RecognitionHelper::readBarcode(const std::string& image) {
    if (std::exchange(textFailed_, false))
        return std::nullopt;
    return ask('B', image);
}

void RecognitionHelper::release() {
    end(false);
}

std::optional<pid_t> RecognitionHelper::helper() const {
    return pid_ > 0 ? std::optional<pid_t>(pid_) : std::nullopt;
}

bool RecognitionHelper::start() {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        log_.warning(source, std::string("cannot talk to the text reader: ") + std::strerror(errno));
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its end as its standard input and output; dup2 leaves them open
    // across exec, where the pair itself closes.
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    // Nothing else of ours, close-on-exec or not, lives on in it.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    const std::string path = program_.string();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (failed != 0) {
        ::close(ends[0]);
        log_.warning(source, "cannot start the text reader " + path + ": " + std::strerror(failed));
        return false;
    }
    pid_ = pid;
    socket_ = ends[0];
    return true;
}

void RecognitionHelper::end(bool kill) {
    if (pid_ <= 0)
        return;
    // Its input closed, it finishes the picture it has and leaves.
    ::close(socket_);
    socket_ = -1;
    if (kill)
        ::kill(pid_, SIGKILL);
    int status = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        ::usleep(2000);
    }
    pid_ = -1;
}

std::optional<std::string> RecognitionHelper::ask(char kind, const std::string& image) {
    if (image.size() > UINT32_MAX)
        return std::nullopt;
    if (pid_ <= 0 && !start())
        return std::nullopt;
    const auto request = head(kind, static_cast<std::uint32_t>(image.size()));
    std::array<char, 5> reply{};
    const auto deadline = Clock::now() + patience_;
    if (!sendAll(socket_, request.data(), request.size(), deadline) ||
        !sendAll(socket_, image.data(), image.size(), deadline) ||
        !receiveAll(socket_, reply.data(), reply.size(), deadline)) {
        log_.warning(source, "the text reader did not answer; it is started afresh next time");
        end(true);
        return std::nullopt;
    }
    // No screen holds 64 MB of text: a length beyond is a reader gone wrong.
    const std::uint32_t length = lengthIn(reply);
    if (length > (64u << 20)) {
        log_.warning(source, "the text reader's answer made no sense; it is started afresh next time");
        end(true);
        return std::nullopt;
    }
    std::string text(length, '\0');
    if (!receiveAll(socket_, text.data(), text.size(), deadline)) {
        log_.warning(source, "the text reader's answer was cut short; it is started afresh next time");
        end(true);
        return std::nullopt;
    }
    if (reply[0] != '1')
        return std::nullopt;
    return text;
}

}  // namespace quorvane::platform::posix

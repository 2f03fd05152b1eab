#include "adapters/posix/RecognitionHelper.hpp"

#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <utility>

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
    textFailed_ = !text && !helper_.running();
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
    return helper_.running() ? std::optional<pid_t>(helper_.pid) : std::nullopt;
}

bool RecognitionHelper::start() {
    auto started = startHelper(program_, SOCK_STREAM);
    if (!started) {
        log_.warning(source, "cannot start the text reader " + started.error().message);
        return false;
    }
    helper_ = started.value();
    return true;
}

void RecognitionHelper::end(bool kill) {
    // Its input closed, it finishes the picture it has and leaves.
    endHelper(helper_, kill);
}

std::optional<std::string> RecognitionHelper::ask(char kind, const std::string& image) {
    if (image.size() > UINT32_MAX)
        return std::nullopt;
    if (!helper_.running() && !start())
        return std::nullopt;
    const auto request = head(kind, static_cast<std::uint32_t>(image.size()));
    std::array<char, 5> reply{};
    const auto deadline = Clock::now() + patience_;
    if (!sendAll(helper_.socket, request.data(), request.size(), deadline) ||
        !sendAll(helper_.socket, image.data(), image.size(), deadline) ||
        !receiveAll(helper_.socket, reply.data(), reply.size(), deadline)) {
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
    if (!receiveAll(helper_.socket, text.data(), text.size(), deadline)) {
        log_.warning(source, "the text reader's answer was cut short; it is started afresh next time");
        end(true);
        return std::nullopt;
    }
    if (reply[0] != '1')
        return std::nullopt;
    return text;
}

}  // namespace quorvane::platform::posix

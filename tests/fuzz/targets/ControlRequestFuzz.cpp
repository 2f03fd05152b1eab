// The control socket: bytes as a client sends them, cut into the one line
// the instance reads, then the request that line holds.

#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "FuzzCheck.hpp"
#include "adapters/posix/ControlSocket.hpp"
#include "control/ControlRequest.hpp"

using namespace quorvane;
using platform::posix::ControlServer;
using platform::posix::NoLine;

namespace {

// The line as the server reads it from a client that sent `bytes` and
// closed its side.
std::optional<std::string> served(const std::string& bytes, NoLine& why) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        std::abort();
    std::thread client([&bytes, fd = pair[1]] {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const auto wrote = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (wrote <= 0)
                break;  // the server stopped reading: a line past the limit
            sent += static_cast<std::size_t>(wrote);
        }
        ::shutdown(fd, SHUT_WR);
    });
    auto line = platform::posix::readLine(pair[0], ControlServer::maxRequestBytes,
                                          std::chrono::seconds(5), &why);
    ::close(pair[0]);
    client.join();
    ::close(pair[1]);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fuzz::bytes(data, size);
    NoLine why{};
    const auto line = served(bytes, why);
    const auto newline = bytes.find('\n');
    if (!line) {
        // No line feed, or one past the limit; never a time-out: the client
        // closed.
        FUZZ_CHECK(why != NoLine::timedOut, "timed out");
        FUZZ_CHECK(newline == std::string::npos || newline > ControlServer::maxRequestBytes,
                   "a line within the limit was refused");
        return 0;
    }
    FUZZ_CHECK(newline != std::string::npos && *line == bytes.substr(0, newline),
               "not the first line");

    const auto request = app::ControlRequest::parse(*line);
    if (!request) {
        FUZZ_CHECK(!request.error().message.empty(), *line);
        return 0;
    }
    // Every field reader gives a value or says what is wrong; none throws.
    for (const char* field : {"id", "name", "on", "paths", "seconds", "command", "words"}) {
        (void)request.value().text(field);
        (void)request.value().flag(field);
        (void)request.value().texts(field, 64);
        (void)request.value().whole(field, 0, 3600);
        (void)request.value().optionalText(field);
        if (const auto number = request.value().whole(field, -5, 5))
            FUZZ_CHECK(number.value() >= -5 && number.value() <= 5, *line);
        if (const auto listed = request.value().texts(field, 3))
            FUZZ_CHECK(listed.value().size() <= 3, *line);
    }
    return 0;
}

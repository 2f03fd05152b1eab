#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/ControlSocket.hpp"
#include "adapters/posix/FileOps.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

TEST(ControlSocket, oneInstanceAnswersPrivatelyAndASecondIsRefused) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog log;
    const auto path = controlSocketPath(temporary.path() / "run");
    EXPECT_EQ(path, temporary.path() / "run/quorvane/control.sock");

    // A socket file left behind by an instance that died is replaced.
    ASSERT_TRUE(makePrivateDirectory(path.parent_path()));
    {
        const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.c_str());
        ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(stale);
    }
    EXPECT_FALSE(sendControlRequest(path, "ping"));

    ControlServer first(
        path, [](const std::string& request) { return "echo " + request; }, log);
    ASSERT_TRUE(first.start());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(path.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_EQ(sendControlRequest(path, "hello").value(), "echo hello");
    // Too long: refused with the limit named, not dropped unanswered.
    const auto tooLong =
        sendControlRequest(path, std::string(4 * ControlServer::maxRequestBytes, 'x'));
    ASSERT_TRUE(tooLong);
    EXPECT_NE(tooLong.value().find("longer than 64 KiB"), std::string::npos) << tooLong.value();
    EXPECT_TRUE(log.contains("too long"));
    EXPECT_EQ(sendControlRequest(path, "still there").value(), "echo still there");

    ControlServer second(
        path, [](const std::string&) { return std::string("second"); }, log);
    auto refused = second.start();
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, ControlServer::alreadyRunning);
    EXPECT_EQ(sendControlRequest(path, "who").value(), "echo who");
}

TEST(ControlSocket, refusesAFolderOthersCanEnter) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog log;
    const auto folder = temporary.path() / "shared";
    std::filesystem::create_directories(folder);
    ::chmod(folder.c_str(), 0777);
    ControlServer server(
        folder / "control.sock", [](const std::string&) { return std::string(); }, log);
    EXPECT_FALSE(server.start());
}

}  // namespace
}  // namespace quorvane::platform::posix

namespace quorvane::platform::posix {
namespace {

int connectTo(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
}

// Clients that send nothing, or half a line, hold up nobody else; past the
// bound a client hears at once that nothing was done.
TEST(ControlSocket, idleAndHalfFinishedClientsDelayNoOneAndStopIsImmediate) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog log;
    const auto path = controlSocketPath(temporary.path() / "run");
    auto server = std::make_unique<ControlServer>(
        path, [](const std::string& request) { return "echo " + request; }, log);
    ASSERT_TRUE(server->start());

    std::vector<int> holders;
    for (int i = 0; i < 6; ++i) {
        holders.push_back(connectTo(path));
        if (i % 2 == 0)
            ::send(holders.back(), "{\"comm", 6, MSG_NOSIGNAL);
    }
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(sendControlRequest(path, "ping").value(), "echo ping");
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(100));
    // The answer can come before its worker is done: counted as open, it
    // would end the wait below one holder short, and that holder would be
    // the one turned away.
    for (int waited = 0; waited < 500 && server->openConnections() > holders.size(); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));

    for (std::size_t i = holders.size(); i < ControlServer::maxConnections; ++i)
        holders.push_back(connectTo(path));
    // All accepted, however busy the machine.
    for (int waited = 0; waited < 500 && server->openConnections() < ControlServer::maxConnections;
         ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(sendControlRequest(path, "one too many").value(), ControlServer::busyAnswer);

    const auto stopping = std::chrono::steady_clock::now();
    server.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::milliseconds(500));
    // A client cut off halfway hears that nothing was done, so it may retry.
    char heard[256] = {};
    ASSERT_GT(::recv(holders[0], heard, sizeof heard - 1, 0), 0);
    EXPECT_EQ(std::string(heard), std::string(ControlServer::stoppedAnswer) + "\n");
    for (int fd : holders)
        ::close(fd);
}

// A connection still queued when the listener closes was never read: the
// client must be able to tell that from an instance that ended mid-command.
TEST(ControlSocket, aRequestQueuedWhenTheListenerClosesIsKnownNotTaken) {
    testing::TemporaryDirectory temporary;
    const auto path = controlSocketPath(temporary.path() / "run");
    ASSERT_TRUE(makePrivateDirectory(path.parent_path()));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);

    std::optional<Result<std::string>> queued;
    std::thread client([&] { queued = sendControlRequest(path, "ping"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::close(listener);
    client.join();
    ASSERT_FALSE(*queued);
    EXPECT_EQ(queued->error().message, notTaken);

    // Read whole and closed without an answer: it may have been done.
    const int again = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ::unlink(path.c_str());
    ASSERT_EQ(::bind(again, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(again, 4), 0);
    std::thread reader([&] {
        const int connection = ::accept(again, nullptr, nullptr);
        char request[64];
        std::size_t got = 0;
        while (got < 5) {
            const ssize_t more = ::recv(connection, request + got, sizeof request - got, 0);
            if (more <= 0)
                break;
            got += static_cast<std::size_t>(more);
        }
        ::close(connection);
    });
    const auto dropped = sendControlRequest(path, "ping");
    reader.join();
    ::close(again);
    ASSERT_FALSE(dropped);
    EXPECT_EQ(dropped.error().message, closedUnanswered);
}

}  // namespace
}  // namespace quorvane::platform::posix

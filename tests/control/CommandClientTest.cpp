#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/ControlSocket.hpp"
#include "adapters/posix/XdgDirectories.hpp"
#include "control/CommandClient.hpp"
#include "control/DesktopCommands.hpp"
#include "control/DisplayCommands.hpp"
#include "control/InputCommands.hpp"
#include "support/TemporaryDirectory.hpp"
#include "wiring/AppPaths.hpp"

namespace quorvane::app {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using platform::posix::ControlServer;

// A stand-in for the running instance: the control socket where the
// command line looks for it, answering what the test says.
struct CommandClientTest : ::testing::Test {
    testing::TemporaryDirectory home;
    std::map<std::string, std::optional<std::string>> saved;
    platform::memory::MemoryLog log;
    std::atomic<int> requests{0};
    std::mutex answerMutex;
    std::string answer = R"({"ok":true})";
    std::optional<ControlServer> server;
    std::ostringstream out;
    std::ostringstream err;

    void SetUp() override {
        for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME"}) {
            const char* value = std::getenv(name);
            saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
            ::setenv(name, home.path().c_str(), 1);
        }
        auto socket = controlSocketFor(platform::posix::XdgDirectories::current());
        ASSERT_TRUE(socket);
        server.emplace(
            socket.value(),
            [this](const std::string&) {
                ++requests;
                std::lock_guard lock(answerMutex);
                return answer;
            },
            log);
        ASSERT_TRUE(server->start());
    }
    void answerWith(std::string line) {
        std::lock_guard lock(answerMutex);
        answer = std::move(line);
    }
    void TearDown() override {
        server.reset();
        for (const auto& [name, value] : saved)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

    // A connection that sends nothing and holds one of the instance's
    // workers until its request times out.
    int idleConnection() {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, server->path().c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return fd;
    }
};

// A request the socket would drop unread is refused at once, the limit
// named, as a mistake in the arguments.
TEST_F(CommandClientTest, aRequestPastTheLimitIsRefusedAtOnce) {
    const auto started = std::chrono::steady_clock::now();
    const int status = CommandClient(out, err, 3s).send(
        {{"command", "runNamed"}, {"name", std::string(ControlServer::maxRequestBytes, 'a')}},
        [](const json&) { return 0; });
    EXPECT_EQ(status, 2);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    EXPECT_NE(err.str().find("at most 64 KiB"), std::string::npos) << err.str();
    EXPECT_EQ(requests, 0);
    // One that fits goes through.
    EXPECT_EQ(CommandClient(out, err).send({{"command", "runNamed"}, {"name", "a"}},
                                           [](const json&) { return 0; }),
              0);
    EXPECT_EQ(requests, 1);
}

// Every connection taken: the command waits a moment, then says so.
TEST_F(CommandClientTest, whenEveryConnectionIsTakenItSaysSo) {
    std::vector<int> held;
    for (std::size_t i = 0; i < ControlServer::maxConnections; ++i)
        held.push_back(idleConnection());
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (server->openConnections() < held.size() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(server->openConnections(), held.size());

    EXPECT_EQ(CommandClient(out, err, 300ms).send({{"command", "ping"}},
                                                  [](const json&) { return 0; }),
              1);
    EXPECT_NE(err.str().find("too many connections"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().find("another Quorvane command"), std::string::npos) << err.str();
    EXPECT_EQ(requests, 0);
    for (int fd : held)
        ::close(fd);
}

// An answer of another shape than the command reads (a field missing, null
// where a number belongs, "ok" not a boolean) is said, exit status 1, and
// never ends the program.
TEST_F(CommandClientTest, anAnswerItCannotReadIsAnErrorNotAnAbort) {
    using Text = std::string (*)(const json&);
    const std::pair<const char*, Text> texts[] = {{"snapshot", desktopText},
                                                  {"displays", displaysText},
                                                  {"overlays", overlaysText},
                                                  {"menuShortcuts", menuShortcutsText}};
    for (const auto& [key, text] : texts) {
        for (const std::string& shown :
             {std::string(R"({"pointer":{"location":[null,0]}})"), std::string("{}"),
              std::string(R"({"displays":[{"frame":[1]}],"overlays":7,"rows":[{"menuPaths":[3]}],)"
                          R"("screens":[{"id":1}]})"),
              std::string("[1,2]"), std::string("null")}) {
            answerWith(R"({"ok":true,")" + std::string(key) + R"(":)" + shown + "}");
            err.str("");
            const std::string command = key == std::string("snapshot") ? "desktop" : key;
            const int status = CommandClient(out, err).send(
                {{"command", command}}, [&, key = key, text = text](const json& reply) {
                    out << text(reply.value(key, json::object()));
                    return 0;
                });
            if (status == 0)  // a shape a formatter may take whole
                continue;
            EXPECT_EQ(status, 1) << key << " " << shown;
            EXPECT_NE(err.str().find("not what this command reads"), std::string::npos)
                << key << " " << shown << err.str();
        }
    }
    // What the instance answered after a drag to -inf, whole.
    answerWith(R"({"ok":true,"snapshot":{"desktop":"simulated","screens":[],"applications":[],)"
               R"("frontmostApp":null,"windows":[],"dock":[],"pointer":{"location":[null,0]}}})");
    EXPECT_EQ(CommandClient(out, err).send({{"command", "desktop"}},
                                           [&](const json& reply) {
                                               out << desktopText(reply.value("snapshot",
                                                                              json::object()));
                                               return 0;
                                           }),
              1);
    for (const char* refusal : {R"({"ok":"yes"})", R"({"ok":false,"error":7})", "[]"}) {
        answerWith(refusal);
        EXPECT_EQ(CommandClient(out, err).send({{"command", "ping"}},
                                               [](const json&) { return 0; }),
                  1)
            << refusal;
    }
}

}  // namespace
}  // namespace quorvane::app

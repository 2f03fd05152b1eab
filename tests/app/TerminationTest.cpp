#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <thread>

#include "core/Store.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/posix/FileBlobStore.hpp"
#include "support/ChildProcess.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Session {
    testing::TemporaryDirectory home;
    fs::path records() const { return home.path() / "data/com.tarnvell.Quorvane/Default"; }
    std::map<std::string, std::string> environment() const {
        return {{"HOME", home.path().string()},
                {"XDG_DATA_HOME", (home.path() / "data").string()},
                {"XDG_CONFIG_HOME", (home.path() / "config").string()},
                {"XDG_STATE_HOME", (home.path() / "state").string()}};
    }
    // With a private runtime folder, where the control socket lives.
    std::map<std::string, std::string> withRuntimeFolder() const {
        const auto run = home.path() / "run";
        fs::create_directories(run);
        fs::permissions(run, fs::perms::owner_all);
        auto variables = environment();
        variables["XDG_RUNTIME_DIR"] = run.string();
        return variables;
    }
};

std::string contents(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Termination, aKilledSessionKeepsWhatItChangedAfterTheSaveDelay) {
    Session session;
    testing::ChildProcess probe(QUORVANE_PERSIST_PROBE, {}, session.environment());
    ASSERT_EQ(probe.readLine(30s), "changed");

    // Nothing ends the probe normally: the change must reach the disk on its own.
    const auto pStateFile = session.records() / "pState.json";
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (contents(pStateFile).find("\"snapsWindows\":true") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    probe.sendSignal(SIGKILL);
    EXPECT_EQ(probe.wait(), 128 + SIGKILL);

    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryUserDefaults defaults;
    auto records = std::move(platform::posix::FileBlobStore::open(session.records()).value());
    core::Persistor persistor(records.get(), queue, log);
    core::Store nextLaunch(defaults, persistor);
    EXPECT_TRUE(nextLaunch.pState->snapsWindows);
    ASSERT_EQ(nextLaunch.preference->workflows.size(), 1u);
    EXPECT_EQ(nextLaunch.preference->workflows[0].colorHex, "Teal");
    EXPECT_TRUE(log.lines.empty());
}

TEST(Termination, sigtermSavesEveryRecordAndKeepsAnUnreadableOneAside) {
    Session session;
    fs::create_directories(session.records());
    std::ofstream(session.records() / "preference.json") << R"({"showsInMenuBar": tr)";

    testing::ChildProcess quorvane(QUORVANE_BINARY, {}, session.environment());
    ASSERT_EQ(quorvane.readLine(30s), "Quorvane is running.");
    EXPECT_EQ(quorvane.readLine(5s), "  records:  " + session.records().string());
    quorvane.sendSignal(SIGTERM);
    std::string last;
    while (auto line = quorvane.readLine(30s))
        last = *line;
    EXPECT_EQ(last, "Quorvane saved its records and quit.");
    EXPECT_EQ(quorvane.wait(), 0);

    EXPECT_NE(contents(session.records() / "preference.json").find("\"showsInMenuBar\":true"),
              std::string::npos);
    EXPECT_NE(contents(session.records() / "pState.json").find("\"snapsWindows\":false"),
              std::string::npos);
    int kept = 0;
    for (const auto& entry : fs::directory_iterator(session.records()))
        if (entry.path().filename().string().starts_with("preference.json.undecodable-")) {
            ++kept;
            EXPECT_EQ(contents(entry.path()), R"({"showsInMenuBar": tr)");
        }
    EXPECT_EQ(kept, 1);
}

// A user's script that never ends (a server, "tail -f") must not hold up
// quitting.
TEST(Termination, quittingEndsAScriptThatIsStillRunning) {
    Session session;
    fs::create_directories(session.records());
    std::ofstream(session.records() / "scriptTasks.json")
        << R"([{"categories":["Script"],"content":"sleep 60","description":"Serves",)"
        << R"("icon":"💎","id":"SLEEPER","mode":"commandLine","name":"Sleeper","showsAlert":false}])";
    const auto environment = session.withRuntimeFolder();
    testing::ChildProcess quorvane(QUORVANE_BINARY, {}, environment);
    ASSERT_EQ(quorvane.readLine(30s), "Quorvane is running.");
    testing::ChildProcess client(QUORVANE_BINARY, {"run", "Sleeper"}, environment);
    EXPECT_EQ(client.readLine(30s), "Ran Sleeper.");
    EXPECT_EQ(client.wait(), 0);

    const auto signalled = std::chrono::steady_clock::now();
    quorvane.sendSignal(SIGTERM);
    EXPECT_EQ(quorvane.wait(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, 3s);
}

// A client in the middle of a request must not hold up the exit.
TEST(Termination, sigtermDuringAnUnfinishedRequestExitsAtOnce) {
    Session session;
    const auto environment = session.withRuntimeFolder();
    testing::ChildProcess quorvane(QUORVANE_BINARY, {}, environment);
    ASSERT_EQ(quorvane.readLine(30s), "Quorvane is running.");

    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const auto path = (session.home.path() / "run/quorvane/control.sock").string();
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string half = R"({"command":"pi)";
    ASSERT_EQ(::send(client, half.data(), half.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(half.size()));
    std::this_thread::sleep_for(200ms);  // the server is reading it now

    const auto signalled = std::chrono::steady_clock::now();
    quorvane.sendSignal(SIGTERM);
    EXPECT_EQ(quorvane.wait(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - signalled, 2s);
    ::close(client);
}

}  // namespace
}  // namespace quorvane

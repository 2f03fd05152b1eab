#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "support/ChildProcess.hpp"
#include "support/FakeSystemTray.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Whether a window titled "Quorvane" is mapped on the display.
bool mainWindowShown() {
    FILE* search = popen("xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null", "r");
    if (!search)
        return false;
    char line[64];
    const bool found = std::fgets(line, sizeof line, search) != nullptr;
    pclose(search);
    return found;
}

template <class Done>
bool within(std::chrono::milliseconds limit, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    return done();
}

// With a status area to live in, the window hides at launch, as the
// setting says by default; but the very first launch shows it once.
TEST(FirstLaunchX11, theFirstLaunchShowsTheMainWindowOnceThenTheSettingHolds) {
    testing::FakeSystemTray tray;
    testing::TemporaryDirectory home;
    const auto run = home.path() / "run";
    fs::create_directories(run);
    fs::permissions(run, fs::perms::owner_all);
    const std::map<std::string, std::string> environment{
        {"HOME", home.path().string()},
        {"XDG_RUNTIME_DIR", run.string()},
        {"XDG_DATA_HOME", (home.path() / "data").string()},
        {"XDG_CONFIG_HOME", (home.path() / "config").string()},
        {"XDG_STATE_HOME", (home.path() / "state").string()},
        {"QT_QPA_PLATFORM", "xcb"},
        {"QUORVANE_AUDIO", "silent"}};

    const auto launch = [&](bool shows) {
        testing::ChildProcess quorvane(QUORVANE_BINARY, {}, environment);
        std::optional<std::string> line;
        while ((line = quorvane.readLine(30s)) && line->find("Quorvane is running") == std::string::npos) {
        }
        ASSERT_TRUE(line) << "it did not start";
        ASSERT_TRUE(within(10s, [&] { return !tray.icons().empty(); })) << "no status item";
        if (shows)
            EXPECT_TRUE(within(10s, mainWindowShown));
        else
            EXPECT_FALSE(mainWindowShown());
        quorvane.sendSignal(SIGTERM);
        EXPECT_EQ(quorvane.wait(), 0);
        ASSERT_TRUE(within(10s, [&] { return tray.icons().empty() && !mainWindowShown(); }));
    };
    launch(true);
    launch(false);
}

}  // namespace
}  // namespace quorvane

#include "simmac/SimDesktopCommand.hpp"
#include "system/SystemFixture.hpp"
#include "system/apps/QuitAppsTask.hpp"

namespace quorvane::system {
namespace {

// Quitting the simulated Mac's applications.
struct QuitAppsTest : testing::SystemFixture {
    void SetUp() override {
        build();
        for (auto [name, bundle] : {std::pair{"Safari", "com.apple.Safari"},
                                    std::pair{"notes", "com.apple.Notes"},
                                    std::pair{"Mail", "com.apple.mail"}})
            ASSERT_TRUE(desktop.perform({.kind = platform::sim::SimDesktopCommand::Kind::launchApp,
                                         .name = name,
                                         .bundle = std::string(bundle)}));
    }
    QuitAppsTask& quitApps() { return dynamic_cast<QuitAppsTask&>(*tweak("QuitAppsTask")); }
    std::vector<std::string> names() {
        std::vector<std::string> listed;
        for (const auto& item : quitApps().items())
            listed.push_back(item.app.name + (item.keep ? " (kept)" : ""));
        return listed;
    }
    int pidOf(const std::string& name) {
        for (const auto& app : desktop.list())
            if (app.name == name)
                return app.pid;
        return 0;
    }
};

TEST_F(QuitAppsTest, keptAppsSurviveQuitAllAndTheListIsByName) {
    auto listed = names();
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end(), [](auto a, auto b) {
        return std::tolower(a[0]) < std::tolower(b[0]);
    }));
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "notes"), 1);

    quitApps().extraView().act(std::to_string(pidOf("notes")), "keep");
    EXPECT_EQ(QuitAppsTask::keepAppsSetting.read(defaults),
              (platform::StringList{"com.apple.Notes"}));
    (void)quitApps().run();
    EXPECT_NE(pidOf("notes"), 0);
    EXPECT_EQ(pidOf("Safari"), 0);
    EXPECT_EQ(pidOf("Mail"), 0);
    // Never this program.
    for (const auto& item : quitApps().items())
        EXPECT_NE(item.app.pid, desktop.ownPid());

    // A click quits even a kept one; "Don't Keep" lets it go.
    auto panel = quitApps().extraView();
    panel.act(std::to_string(pidOf("notes")), "keep");
    EXPECT_TRUE(QuitAppsTask::keepAppsSetting.read(defaults).empty());
    panel.choose(std::to_string(pidOf("notes")));
    EXPECT_EQ(pidOf("notes"), 0);
}

TEST_F(QuitAppsTest, restartOpensTheAppAgainOnceItHasGone) {
    const int before = pidOf("Mail");
    int changes = 0;
    auto panel = quitApps().extraView();
    auto watching = panel.observe([&] { ++changes; });
    panel.act(std::to_string(before), "restart");
    const int after = pidOf("Mail");
    EXPECT_NE(after, 0);
    EXPECT_NE(after, before);
    EXPECT_GE(changes, 1);
    bool reopened = false;
    for (const auto& line : journalLines())
        reopened |= line.find("QuitAppsTask reopen Mail") != std::string::npos;
    EXPECT_TRUE(reopened);
}

}  // namespace
}  // namespace quorvane::system

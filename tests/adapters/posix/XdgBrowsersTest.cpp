#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sys/stat.h>
#include <thread>

#include "adapters/posix/XdgBrowsers.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

TEST(ExecArguments, theUrlIsOneArgumentWhateverItHolds) {
    const std::string url = "https://a.example/x;y?q=$(touch x) 'z'";
    EXPECT_EQ(execArguments("firefox --new-window %u", url),
              (std::vector<std::string>{"firefox", "--new-window", url}));
    EXPECT_EQ(execArguments(R"("/opt/My Browser/run" %U --class=%c %i)", url),
              (std::vector<std::string>{"/opt/My Browser/run", url, "--class="}));
    EXPECT_EQ(execArguments(R"(browser "--title=a \"b\"" 100%%)", url),
              (std::vector<std::string>{"browser", "--title=a \"b\"", "100%", url}));
    EXPECT_EQ(execArguments(R"(browser "unclosed %u)", url), std::nullopt);
    EXPECT_EQ(execArguments("%u", ""), std::nullopt);
}

// The desktop's folders, made up in a scratch folder: a Firefox entry whose
// Exec line records its arguments, and a system-wide default of Chrome.
struct XdgBrowsersTest : ::testing::Test {
    testing::TemporaryDirectory temporary;
    std::filesystem::path root = temporary.path();
    XdgBrowsers browsers{{root / "config", {root / "etc-xdg"}, root / "data", {root / "usr-share"}}};

    void write(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    void SetUp() override {
        write(root / "record.sh", "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done > \"$0.out\"\n");
        ::chmod((root / "record.sh").c_str(), 0700);
        write(root / "usr-share/applications/firefox-esr.desktop",
              "[Desktop Entry]\nName=Firefox ESR\nExec=" + (root / "record.sh").string() +
                  " --new-window %u\n[Desktop Action new-private-window]\nExec=nope %u\n");
        write(root / "etc-xdg/mimeapps.list",
              "[Default Applications]\nx-scheme-handler/http=google-chrome.desktop;\n");
    }
};

TEST_F(XdgBrowsersTest, entriesTellWhatIsInstalledAndTheUsersListComesFirst) {
    EXPECT_TRUE(browsers.isInstalled("org.mozilla.firefox"));
    EXPECT_FALSE(browsers.isInstalled("com.google.Chrome"));
    EXPECT_FALSE(browsers.isInstalled("com.apple.Safari"));
    EXPECT_EQ(browsers.defaultFor("http"), "com.google.Chrome");
    EXPECT_EQ(browsers.defaultFor("https"), std::nullopt);

    write(root / "config/mimeapps.list",
          "[Added Associations]\ntext/html=firefox-esr.desktop;\n\n[Default Applications]\n"
          "x-scheme-handler/http=other.desktop;\nx-scheme-handler/mailto=mutt.desktop;\n");
    EXPECT_EQ(browsers.defaultFor("http"), std::nullopt);  // a handler we do not know
    ASSERT_TRUE(browsers.setDefault("http", "org.mozilla.firefox"));
    ASSERT_TRUE(browsers.setDefault("https", "org.mozilla.firefox"));
    EXPECT_FALSE(browsers.setDefault("http", "com.google.Chrome"));
    EXPECT_EQ(browsers.defaultFor("http"), "org.mozilla.firefox");
    EXPECT_EQ(browsers.defaultFor("https"), "org.mozilla.firefox");
    std::ifstream list(root / "config/mimeapps.list");
    const std::string text((std::istreambuf_iterator<char>(list)), {});
    EXPECT_EQ(text,
              "[Added Associations]\ntext/html=firefox-esr.desktop;\n\n[Default Applications]\n"
              "x-scheme-handler/https=firefox-esr.desktop;\n"
              "x-scheme-handler/http=firefox-esr.desktop;\n"
              "x-scheme-handler/mailto=mutt.desktop;\n");
}

TEST_F(XdgBrowsersTest, aUrlReachesTheBrowserVerbatimWithNoShellBetween) {
    const std::string url = "https://a.example/x;touch pwned?q=$(touch " + (root / "x").string() + ")";
    ASSERT_TRUE(browsers.open({url}, "org.mozilla.firefox"));
    const auto out = root / "record.sh.out";
    for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream recorded(out);
    std::vector<std::string> arguments;
    for (std::string line; std::getline(recorded, line);)
        arguments.push_back(line);
    EXPECT_EQ(arguments, (std::vector<std::string>{"--new-window", url}));
    EXPECT_FALSE(std::filesystem::exists(root / "x"));
    EXPECT_FALSE(browsers.open({url}, "com.apple.Safari"));
}

}  // namespace
}  // namespace quorvane::platform::posix

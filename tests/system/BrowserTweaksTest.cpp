#include "system/SystemFixture.hpp"
#include "system/browsers/BrowserTable.hpp"
#include "system/browsers/DefaultBrowserTweak.hpp"
#include "system/browsers/OpenInBrowserTweak.hpp"

namespace quorvane::system {
namespace {

TEST(FirstLink, onlyHttpAndHttpsLinksThatStandAsWordsCount) {
    EXPECT_EQ(firstLink("hello"), std::nullopt);
    EXPECT_EQ(firstLink("httpx://a"), std::nullopt);
    EXPECT_EQ(firstLink("xhttp://a ftp://b"), std::nullopt);
    EXPECT_EQ(firstLink("http:// and http:///path"), std::nullopt);
    EXPECT_EQ(firstLink("see https://example.com/a?b=1&c=2. Then http://second.example"),
              "https://example.com/a?b=1&c=2");
    EXPECT_EQ(firstLink("(https://en.wikipedia.org/wiki/Mercury_(planet)), more"),
              "https://en.wikipedia.org/wiki/Mercury_(planet)");
    EXPECT_EQ(firstLink("<a href=\"http://a.example/x\">"), "http://a.example/x");
    EXPECT_EQ(firstLink("https://a.example/$(id);rm"), "https://a.example/$(id);rm");
}

// The browser tweaks on the simulated Mac's browsers.
struct BrowserTweaksTest : testing::SystemFixture {
    void SetUp() override {
        build();
        ASSERT_TRUE(browsers.install("org.mozilla.firefox"));
    }
    template <class Tweak>
    Tweak& browserTweak(const std::string& id) {
        return dynamic_cast<Tweak&>(*tweak(id));
    }
    std::vector<std::string> titles(const core::ExtraPanel& panel) {
        std::vector<std::string> shown;
        for (const auto& item : panel.items())
            shown.push_back(item.title + (item.marked ? "*" : ""));
        return shown;
    }
};

TEST_F(BrowserTweaksTest, theDefaultBrowserPanelListsInstalledBrowsersAndSetsBothSchemes) {
    auto& tweak = browserTweak<DefaultBrowserTweak>("DefaultBrowserTweak");
    const auto panel = tweak.extraView();
    settle();
    EXPECT_EQ(titles(panel), (std::vector<std::string>{"Safari*", "Firefox"}));

    int redrawn = 0;
    auto subscription = panel.observe([&] { ++redrawn; });
    panel.choose("firefox");
    settle();
    EXPECT_EQ(browsers.defaultFor("http"), "org.mozilla.firefox");
    EXPECT_EQ(browsers.defaultFor("https"), "org.mozilla.firefox");
    EXPECT_EQ(titles(panel), (std::vector<std::string>{"Safari", "Firefox*"}));
    EXPECT_GE(redrawn, 1);
    // Said in the journal, and kept with the browser it replaced.
    EXPECT_EQ(journalLines().back(),
              "DefaultBrowserTweak default browser https links open in org.mozilla.firefox");
    ASSERT_EQ(restoreLog.entries().size(), 2u);
    EXPECT_EQ(restoreLog.entries()[0].target, "default browser http");
    EXPECT_EQ(restoreLog.entries()[0].before, "com.apple.Safari");
    EXPECT_EQ(restoreLog.entries()[1].after, "org.mozilla.firefox");

    // Removed behind our back: the choice fails, is logged, and the panel
    // shows what is there.
    ASSERT_TRUE(browsers.remove("org.mozilla.firefox"));
    panel.choose("firefox");
    settle();
    EXPECT_TRUE(log.contains("Error setting default browser: no application has the identifier "
                             "org.mozilla.firefox"));
    EXPECT_EQ(titles(panel), (std::vector<std::string>{"Safari"}));

    // Installed while the program runs: the panel shown again lists it.
    ASSERT_TRUE(browsers.install("com.google.Chrome"));
    const auto shownAgain = tweak.extraView();
    settle();
    EXPECT_EQ(titles(shownAgain), (std::vector<std::string>{"Chrome", "Safari"}));
    // Run alone, it changes nothing and says where the choice is made.
    const auto ran = tweak.run();
    EXPECT_FALSE(ran.isDone());
    EXPECT_EQ(ran.reason(), "choose the browser in its list");
}

TEST_F(BrowserTweaksTest, openInBrowserUsesTheLastChoiceWhileItIsInstalled) {
    auto& tweak = browserTweak<OpenInBrowserTweak>("OpenInBrowserTweak");
    pasteboard.setString("hello");
    (void)tweak.run();
    settle();
    EXPECT_TRUE(log.contains("no link found in clipboard"));

    pasteboard.setString("read https://example.com/a;b?q=$(id) today");
    (void)tweak.run();  // nothing chosen yet: the first installed browser
    settle();
    EXPECT_EQ(journalLines().back(),
              "SimulatedMac open url https://example.com/a;b?q=$(id) with com.apple.Safari");

    const auto panel = tweak.extraView();
    settle();
    panel.choose("firefox");
    settle();
    EXPECT_EQ(titles(panel), (std::vector<std::string>{"Safari", "Firefox*"}));
    (void)tweak.run();
    settle();
    EXPECT_EQ(journalLines().back(),
              "SimulatedMac open url https://example.com/a;b?q=$(id) with org.mozilla.firefox");

    ASSERT_TRUE(browsers.remove("org.mozilla.firefox"));
    (void)tweak.run();
    settle();
    EXPECT_EQ(journalLines().back(),
              "SimulatedMac open url https://example.com/a;b?q=$(id) with com.apple.Safari");
}

}  // namespace
}  // namespace quorvane::system

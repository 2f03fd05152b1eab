#include "support/LoopbackHttp.hpp"
#include "text/ExpandLinkTask.hpp"
#include "text/PublicIpTask.hpp"
#include "text/TextFixture.hpp"

namespace quorvane::text {
namespace {

namespace pb = platform::pasteboardType;
using platform::PasteboardContents;

struct NetworkTweaks : TextFixture {
    core::TweakInfo info(const char* id, const char* name) {
        return {.id = id, .name = name};
    }
    void expand(const std::string& copied) {
        pasteboard.setString(copied);
        ExpandLinkTask task(info("ExpandLinkTask", "Expand Link"), services);
        (void)task.run();
        settle();
    }

    testing::LoopbackHttp server;
};

TEST_F(NetworkTweaks, expandLinkWritesTheLastAddressAsTextAndUrl) {
    auto written = [&](const std::string& url) {
        return PasteboardContents{{pb::string, url}, {pb::url, url}};
    };
    // No redirect: the same address, now also a URL.
    expand(server.url("/plain"));
    EXPECT_EQ(pasteboard.snapshot(), written(server.url("/plain")));
    EXPECT_EQ(server.requests().back(), "HEAD /plain");

    expand("  " + server.url("/hops/3") + "\n");
    const std::string last = server.url("/final/page?utm_source=x&id=3#top");
    EXPECT_EQ(pasteboard.snapshot(), written(last));
    EXPECT_EQ(server.requests().size(), 5u);  // /plain, three hops, the last page

    // Long headers are still an answer.
    expand(server.url("/big-headers"));
    EXPECT_EQ(pasteboard.snapshot(), written(server.url("/big-headers")));

    // A refused HEAD at the end is still where the link leads.
    expand(server.url("/not-allowed"));
    EXPECT_EQ(pasteboard.string(), server.url("/head-refused"));

    // Without its query; path and fragment stay.
    ExpandLinkTask::removesParameters.write(defaults, true);
    ExpandLinkTask::showsAlert.write(defaults, true);
    expand(server.url("/hops/1"));
    EXPECT_EQ(pasteboard.string(), server.url("/final/page#top"));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Expand Link");
    EXPECT_EQ(alerts.shown[0].informativeText, server.url("/final/page#top"));
    EXPECT_EQ(alerts.shown[0].style, platform::Alert::Style::warning);
    // Journaled by type and size only.
    const auto size = std::to_string(server.url("/final/page#top").size());
    EXPECT_EQ(journal.entries().back().detail,
              "public.utf8-plain-text " + size + " bytes, public.url " + size + " bytes");
}

TEST_F(NetworkTweaks, expandLinkLeavesThePasteboardAloneWhenThereIsNothingToExpand) {
    ExpandLinkTask::showsAlert.write(defaults, true);
    services.requestTimeout = std::chrono::milliseconds(300);
    const std::string notListening = [] {
        testing::LoopbackHttp closed;
        return closed.url("/plain");
    }();
    for (const std::string& copied :
         {std::string("hello"), std::string("file:///etc/passwd"), std::string("/relative/path"),
          "ftp://127.0.0.1:" + std::to_string(server.port()) + "/", server.url("/loop"),
          server.url("/elsewhere"), server.url("/stall"), server.url("/huge-headers"),
          notListening, "http://" + std::string(9000, 'a') + ".org/"}) {
        SCOPED_TRACE(copied.substr(0, 80));
        expand(copied);
        EXPECT_EQ(pasteboard.snapshot(), (PasteboardContents{{pb::string, copied}}));
    }
    EXPECT_TRUE(alerts.shown.empty());
    // The redirect loop gave up after 16 hops.
    int loops = 0;
    for (const auto& request : server.requests())
        loops += request == "HEAD /loop";
    EXPECT_EQ(loops, 17);
}

TEST_F(NetworkTweaks, expandLinkKeepsACopyMadeWhileTheRequestRan) {
    pasteboard.setString(server.url("/hops/2"));
    ExpandLinkTask task(info("ExpandLinkTask", "Expand Link"), services);
    (void)task.run();
    network.waitUntilIdle();
    pasteboard.setString("copied meanwhile");
    settle();
    EXPECT_EQ(pasteboard.snapshot(), (PasteboardContents{{pb::string, "copied meanwhile"}}));
}

TEST_F(NetworkTweaks, publicIpShowsAnAddressOrThatSomethingWentWrong) {
    auto ask = [&](const std::string& service) {
        services.publicIpService = service;
        alerts.shown.clear();
        PublicIpTask task(info("PublicIpTask", "Public Ip"), services);
        (void)task.run();
        settle();
        EXPECT_EQ(alerts.shown.size(), 1u);
        return alerts.shown.empty() ? platform::Alert{} : alerts.shown.back();
    };
    pasteboard.setString("untouched");
    auto shown = ask(server.url("/ip"));
    EXPECT_EQ(shown.message, "Public Ip");
    EXPECT_EQ(shown.informativeText, "Public IP address: 203.0.113.7");
    EXPECT_EQ(shown.style, platform::Alert::Style::warning);
    EXPECT_EQ(server.requests().back(), "GET /ip?format=json");
    EXPECT_EQ(ask(server.url("/ip6")).informativeText, "Public IP address: 2001:db8::7");

    const std::string refused = [] {
        testing::LoopbackHttp closed;
        return closed.url("/ip");
    }();
    for (const auto& broken : {server.url("/ip-empty"), server.url("/ip-words"),
                               server.url("/ip-500"), server.url("/ip-huge"), refused}) {
        SCOPED_TRACE(broken);
        shown = ask(broken);
        EXPECT_EQ(shown.informativeText, "Something went wrong");
        EXPECT_EQ(shown.style, platform::Alert::Style::critical);
    }
    // Public IP only shows: it copies nothing.
    EXPECT_EQ(pasteboard.snapshot(), (PasteboardContents{{pb::string, "untouched"}}));
}

TEST(PublicIp, theQueryIsAddedToWhatTheServiceAddressHolds) {
    EXPECT_EQ(publicIpRequestUrl("https://api.example/"), "https://api.example/?format=json");
    EXPECT_EQ(publicIpRequestUrl("https://api.example/v1?key=k#x"),
              "https://api.example/v1?key=k&format=json");
}

// An address with more after a NUL is no address: inet_pton alone stops
// reading at the NUL and would let the rest be shown and copied.
TEST(PublicIp, onlyAWholeAddressIsTaken) {
    auto reply = [](std::string body) {
        return platform::Result<platform::HttpResponse>(
            platform::HttpResponse{.status = 200, .url = "https://api.example/", .body = std::move(body)});
    };
    EXPECT_EQ(publicAddressIn(reply(R"({"ip":"198.51.100.4"})")), "198.51.100.4");
    EXPECT_EQ(publicAddressIn(reply(R"({"ip":"198.51.100.4\u0000<b>junk"})")), std::nullopt);
}

}  // namespace
}  // namespace quorvane::text

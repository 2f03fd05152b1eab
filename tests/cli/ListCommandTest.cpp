#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/ListCommand.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"

namespace quorvane::cli {
namespace {

struct ListCommandTest : ::testing::Test {
    platform::memory::MemoryBlobStore blobs;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryLog log;
    platform::memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    core::NoScriptTweaks scripts;
    core::TweakFactory factory;
    core::Catalogue catalogue{factory, store, log, scripts};
    std::ostringstream out;
    std::ostringstream err;

    int list(ListOptions options) { return listTweaks(options, catalogue, store, out, err); }

    std::vector<nlohmann::json> lines() {
        std::vector<nlohmann::json> objects;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);)
            objects.push_back(nlohmann::json::parse(line));
        return objects;
    }
};

TEST_F(ListCommandTest, jsonDescribesEachTweakOfTheGroupOnItsOwnLine) {
    ASSERT_EQ(list({.group = "status menu", .search = "", .json = true}), 0);
    auto objects = lines();
    ASSERT_EQ(objects.size(), 5u);
    const auto& clock = objects.at(1);
    EXPECT_EQ(clock["id"], "FlashClockSeparatorTask");
    EXPECT_EQ(clock["kind"], "toggle");
    EXPECT_EQ(clock["state"], "flashClockSeparator");
    EXPECT_EQ(clock["categories"], nlohmann::json::array({"Status Menu"}));
    EXPECT_EQ(clock["flags"], nlohmann::json::array({"reset"}));
    EXPECT_EQ(clock["available"], false);

    out.str("");
    ASSERT_EQ(list({.group = "Utility", .search = "link", .json = true}), 0);
    objects = lines();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]["kind"], "oneShot");
    EXPECT_FALSE(objects[0].contains("state"));

    // What the running instance cannot do on its desktop is listed so here.
    out.str("");
    ListOptions dock{.group = "Dock", .search = "preview", .json = true};
    dock.sessionUnavailable["PreviewDockWindowTask"] = "Not supported on this desktop";
    ASSERT_EQ(list(dock), 0);
    objects = lines();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]["available"], false);
    EXPECT_EQ(objects[0]["unavailable"], "Not supported on this desktop");
}

// A toggle is listed as on or off: as the running instance says, else as
// the user's records have it.
TEST_F(ListCommandTest, eachToggleIsListedOnOrOff) {
    store.pState.modify([](core::PState& state) { state.snapsWindows = true; });
    auto find = [&](const std::string& id) {
        for (const auto& object : lines())
            if (object["id"] == id)
                return object;
        return nlohmann::json();
    };
    ASSERT_EQ(list({.group = "all", .search = "", .json = true}), 0);
    EXPECT_EQ(find("SnapWindowsTask")["on"], true);
    EXPECT_EQ(find("AeroShakeTask")["on"], false);
    EXPECT_FALSE(find("EmptyTrashTask").contains("on"));

    out.str("");
    ListOptions table{.group = "all", .search = "Snap Windows", .json = false};
    ASSERT_EQ(list(table), 0);
    EXPECT_NE(out.str().find("toggle   on"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("snapsWindows"), std::string::npos) << out.str();

    // The instance's answer wins; whatever in it is malformed is passed over.
    ListOptions session{.group = "all", .search = "", .json = true};
    takeInstanceList(nlohmann::json::parse(R"({"ok":true,"tweaks":[1,{"id":5,"on":true},
        {"id":"SnapWindowsTask","on":false},{"id":"AeroShakeTask","on":"yes"},
        {"id":"DimTask","on":true,"unavailable":"Not on this desktop"}]})"),
                     session);
    for (const auto& junk : {nlohmann::json(), nlohmann::json::array({1}),
                             nlohmann::json::parse(R"({"tweaks":{"id":"X"}})")})
        takeInstanceList(junk, session);
    out.str("");
    ASSERT_EQ(list(session), 0);
    EXPECT_EQ(find("SnapWindowsTask")["on"], false);
    EXPECT_EQ(find("AeroShakeTask")["on"], false);
    EXPECT_EQ(find("DimTask")["on"], true);
    EXPECT_EQ(find("DimTask")["unavailable"], "Not on this desktop");
}

TEST_F(ListCommandTest, anUnknownGroupIsRefusedWithTheGroupsThereAre) {
    EXPECT_EQ(list({.group = "docks", .search = "", .json = false}), 2);
    EXPECT_NE(err.str().find("unknown group \"docks\""), std::string::npos);
    EXPECT_NE(err.str().find("Status Menu"), std::string::npos);
    EXPECT_TRUE(out.str().empty());

    EXPECT_EQ(list({.group = "random", .search = "", .json = false}), 0);
    EXPECT_NE(out.str().find("5 tweaks"), std::string::npos);
    EXPECT_FALSE(parseCommandLine({"list", "--group"}));
    EXPECT_EQ(parseCommandLine({"list", "--search", "dock", "--json"}).value().list.search, "dock");
}

}  // namespace
}  // namespace quorvane::cli

#include <gtest/gtest.h>

#include "simmac/PreferenceDomains.hpp"
#include "system/Defaults.hpp"
#include "system/PreferenceRestore.hpp"
#include "system/PreferenceValues.hpp"
#include "system/SystemFixture.hpp"

namespace quorvane::system {
namespace {

using nlohmann::ordered_json;
using Value = std::optional<std::string>;

Value plist(const std::string& body) {
    return "<plist version=\"1.0\">" + body + "</plist>";
}

TEST(PreferenceValues, namesAndComparesPreferencesTheWayTheRestoreLogKeepsThem) {
    const Defaults odd{"-currentHost", "com.example.my app", "a\\b c"};
    EXPECT_EQ(preferenceTarget(odd), "-currentHost com.example.my\\ app a\\\\b\\ c");
    for (const Defaults& preference :
         {odd, Defaults{"", "com.apple.dock", "autohide"}, Defaults{"", "com.apple.dock", ""},
          Defaults{"-currentHost", "com.apple.screensaver", ""}})
        EXPECT_EQ(parsePreferenceTarget(preferenceTarget(preference)), preference)
            << preferenceTarget(preference);
    for (const char* malformed : {"", "a b c", "com.apple.dock key\\", "dock  key"})
        EXPECT_FALSE(parsePreferenceTarget(malformed)) << malformed;

    const auto pair = plist(
        "<dict><key>a</key><integer>1</integer><key>b</key><array><true/>"
        "</array></dict>");
    EXPECT_TRUE(samePreferenceValue(
        pair, plist("<dict>\n  <key>b</key> <array><true/></array>\n  <key>a</key>"
                    "<integer>1</integer></dict>")));
    for (const Value& other :
         {plist("<dict><key>a</key><integer>1</integer><key>b</key><array><false/></array></dict>"),
          plist("<dict><key>a</key><real>1</real><key>b</key><array><true/></array></dict>"),
          plist("<dict><key>a</key><integer>1</integer><key>c</key><array><true/></array></dict>"),
          plist("<dict><key>a</key><integer>1</integer></dict>"), Value()})
        EXPECT_FALSE(samePreferenceValue(pair, other)) << other.value_or("absent");
    EXPECT_TRUE(samePreferenceValue(Value(), Value()));
}

// A restore log that keeps entries in a list.
class ListRestoreLog final : public platform::RestoreLog {
  public:
    platform::Result<std::uint64_t> record(platform::RestoreEntry entry) override {
        entry.id = list.size() + 1;
        list.push_back(std::move(entry));
        return list.back().id;
    }
    std::vector<platform::RestoreEntry> entries() const override { return list; }
    platform::Status remove(const std::vector<std::uint64_t>&) override {
        return platform::success();
    }
    std::vector<platform::RestoreEntry> list;
};

struct PreferenceRestoreTest : testing::SystemFixture {
    ListRestoreLog restoreLog;
    DefaultsRunner recording{realShell, log, journal, "AutoHideDockTask", &restoreLog};
    PreferenceRestore kind{realShell};

    void seed(const std::string& domain, const ordered_json& values) {
        ASSERT_TRUE(platform::sim::domains::save(
            platform::sim::domains::fileOf(home.homeDirectory(), domain, false), values));
    }
    std::string exported(const std::string& domain, const std::string& host = "") {
        return realShell.run("defaults " + host + " export " + domain + " -").value();
    }
    // The entry's target, and its before and after as the values given.
    void expectEntry(std::size_t index, const std::string& target, const Value& before,
                     const Value& after) {
        ASSERT_LT(index, restoreLog.list.size());
        const auto& entry = restoreLog.list[index];
        EXPECT_EQ(entry.cause, "AutoHideDockTask");
        EXPECT_EQ(entry.kind, "preference");
        EXPECT_EQ(entry.target, target);
        EXPECT_TRUE(samePreferenceValue(entry.before, before))
            << target << " before: " << entry.before.value_or("absent");
        EXPECT_TRUE(samePreferenceValue(entry.after, after))
            << target << " after: " << entry.after.value_or("absent");
    }
};

const ordered_json tiles = {{"layout", {{"columns", 4}, {"names", {"a", "b"}}}},
                            {"tile data", {{"$data", "00ff"}}},
                            {"scale", 0.1234567},
                            {"count", -3}};

TEST_F(PreferenceRestoreTest, aRunnerKeepsWhatEachChangeReplaced) {
    seed("com.example.tiles", tiles);
    ASSERT_TRUE(realShell.run("defaults write com.apple.screensaver idleTime -int 60"));
    recording.writeBool({"", "com.apple.dock", "autohide"}, true);
    recording.writeBool({"", "com.apple.dock", "autohide"}, true);  // no change
    recording.remove({"", "com.apple.dock", "orientation"});        // not set
    recording.writeBool({"", "com.apple.dock", "autohide"}, false);
    recording.remove({"", "com.example.tiles", "layout"});
    recording.writeString({"", "com.example.tiles", "tile data"}, "plain");
    recording.writeInt({"-currentHost", "com.apple.screensaver", "idleTime"}, 300);
    // A delete never names the host: the user's own domain changes.
    recording.remove({"-currentHost", "com.apple.screensaver", "idleTime"});
    recording.remove({"", "com.apple.dock", ""});

    ASSERT_EQ(restoreLog.list.size(), 7u);
    EXPECT_EQ(restoreLog.list[0].after,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD "
              "PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist "
              "version=\"1.0\">\n<true/>\n</plist>\n");
    expectEntry(0, "com.apple.dock autohide", Value(), plist("<true/>"));
    expectEntry(1, "com.apple.dock autohide", plist("<true/>"), plist("<false/>"));
    expectEntry(2, "com.example.tiles layout",
                plist("<dict><key>columns</key><integer>4</integer><key>names</key>"
                      "<array><string>a</string><string>b</string></array></dict>"),
                Value());
    expectEntry(3, "com.example.tiles tile\\ data", plist("<data>AP8=</data>"),
                plist("<string>plain</string>"));
    expectEntry(4, "-currentHost com.apple.screensaver idleTime", Value(),
                plist("<integer>300</integer>"));
    expectEntry(5, "com.apple.screensaver idleTime", plist("<integer>60</integer>"), Value());
    expectEntry(6, "com.apple.dock", plist("<dict><key>autohide</key><false/></dict>"), Value());
}

TEST_F(PreferenceRestoreTest, restoringInReverseOrderPutsEachDomainBackExactly) {
    seed("com.example.tiles", tiles);
    const std::string original = exported("com.example.tiles");
    recording.writeBool({"", "com.example.tiles", "layout"}, true);
    recording.writeString({"", "com.example.tiles", "added key"}, "new");
    recording.remove({"", "com.example.tiles", "tile data"});
    recording.writeFloat({"", "com.example.tiles", "scale"}, 2.5f);
    recording.writeInt({"-currentHost", "com.example.tiles", "count"}, 7);
    recording.remove({"", "com.example.tiles", ""});
    ASSERT_EQ(restoreLog.list.size(), 6u);
    for (auto entry = restoreLog.list.rbegin(); entry != restoreLog.list.rend(); ++entry) {
        auto now = kind.read(entry->target);
        ASSERT_TRUE(now) << entry->target;
        EXPECT_TRUE(kind.same(now.value(), entry->after)) << entry->target;
        ASSERT_TRUE(kind.write(entry->target, entry->before)) << entry->target;
        EXPECT_TRUE(kind.same(kind.read(entry->target).value(), entry->before)) << entry->target;
    }
    EXPECT_EQ(exported("com.example.tiles"), original);
    EXPECT_EQ(exported("com.example.tiles", "-currentHost"), exported("com.example.none"));

    // Another key written meanwhile in the same domain is left alone.
    recording.writeInt({"", "com.example.tiles", "count"}, 10);
    ASSERT_TRUE(realShell.run("defaults write com.example.tiles other -string kept"));
    ASSERT_TRUE(kind.write(restoreLog.list.back().target, restoreLog.list.back().before));
    EXPECT_EQ(realShell.run("defaults read com.example.tiles count").value(), "-3");
    EXPECT_EQ(realShell.run("defaults read com.example.tiles other").value(), "kept");
    EXPECT_FALSE(kind.read("com.example tiles extra").ok());
}

}  // namespace
}  // namespace quorvane::system

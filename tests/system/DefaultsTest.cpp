#include <gtest/gtest.h>

#include <fstream>

#include "platform/Quoting.hpp"
#include "simmac/PreferenceDomains.hpp"
#include "system/Defaults.hpp"
#include "system/SystemFixture.hpp"

namespace quorvane::system {
namespace {

TEST(Defaults, buildsTheCommandLinesAndReadsTheAnswersLikeTheRealTool) {
    Defaults autohide{"", "com.apple.dock", "autohide"};
    EXPECT_EQ(autohide.readCommand("-bool"), "defaults  read com.apple.dock autohide -bool");
    EXPECT_EQ(autohide.writeCommand("-bool true"),
              "defaults  write com.apple.dock autohide -bool true");
    Defaults photos{"-currentHost", "com.apple.ImageCapture", "disableHotPlug"};
    EXPECT_EQ(photos.deleteCommand(), "defaults delete com.apple.ImageCapture disableHotPlug");
    EXPECT_EQ(photos.readCommand(),
              "defaults -currentHost read com.apple.ImageCapture disableHotPlug");
    EXPECT_EQ(Defaults({"", "com.apple.dock", ""}).deleteCommand(),
              "defaults delete com.apple.dock ");
    Defaults spaced{"", "com.example.my app", "it's on"};
    EXPECT_EQ(spaced.writeCommand("-bool true"),
              "defaults  write 'com.example.my app' 'it'\\''s on' -bool true");

    for (const char* on : {"1", "YES", "yes", "True"})
        EXPECT_TRUE(parseDefaultsBool(on)) << on;
    for (const char* off : {"0", "no", "", "2", " 1"})
        EXPECT_FALSE(parseDefaultsBool(off)) << off;
    EXPECT_FLOAT_EQ(parseDefaultsFloat("0.01"), 0.01f);
    EXPECT_FLOAT_EQ(parseDefaultsFloat("+2.5"), 2.5f);
    for (const char* zero : {"", " 1", "1x", "1,5"})
        EXPECT_EQ(parseDefaultsFloat(zero), 0.0f) << zero;
    EXPECT_EQ(parseDefaultsInt("-42"), -42);
    EXPECT_EQ(parseDefaultsInt("+7"), 7);
    for (const char* zero : {"", "1.5", "99999999999999999999", " 3", "++1"})
        EXPECT_EQ(parseDefaultsInt(zero), 0) << zero;
    EXPECT_EQ(defaultsFloatText(1.0f), "1.0");
    EXPECT_EQ(defaultsFloatText(0.01f), "0.01");
}

// The stand-in tool behind the simulated Mac, through the real shell.
struct StandInDefaultsTest : testing::SystemFixture {};

TEST_F(StandInDefaultsTest, storesReadsAndDeletesLikeTheRealTool) {
    auto run = [&](const std::string& command) { return realShell.run(command); };
    ASSERT_TRUE(run("defaults  write com.apple.dock autohide -bool true"));
    ASSERT_TRUE(run("defaults  write com.apple.dock autohide-delay -float 0.01"));
    ASSERT_TRUE(run("defaults  write com.apple.dock tilesize -int 48"));
    ASSERT_TRUE(run("defaults  write com.apple.dock mineffect suck"));
    ASSERT_TRUE(
        run("defaults  write com.apple.dock persistent-apps -array-add "
            "'{\"tile-type\"=\"spacer-tile\";}'"));
    ASSERT_TRUE(run("defaults -currentHost write com.apple.ImageCapture disableHotPlug -bool YES"));
    EXPECT_EQ(run("defaults  read com.apple.dock autohide -bool").value(), "1");
    EXPECT_EQ(run("defaults  read com.apple.dock autohide-delay -float").value(), "0.01");
    EXPECT_EQ(run("defaults  read com.apple.dock tilesize").value(), "48");
    EXPECT_EQ(run("defaults  read com.apple.dock mineffect").value(), "suck");
    EXPECT_EQ(run("defaults -currentHost read com.apple.ImageCapture disableHotPlug").value(), "1");
    EXPECT_FALSE(
        run("defaults  read com.apple.ImageCapture disableHotPlug"));  // not the host's domain
    auto domain = run("defaults read com.apple.dock").value();
    EXPECT_NE(domain.find("autohide = 1;"), std::string::npos);
    EXPECT_NE(domain.find("\"{\\\"tile-type\\\"=\\\"spacer-tile\\\";}\""), std::string::npos);

    auto missingKey = run("defaults  read com.apple.dock orientation");
    ASSERT_FALSE(missingKey);
    EXPECT_NE(missingKey.error().message.find("(com.apple.dock, orientation) does not exist"),
              std::string::npos);
    EXPECT_FALSE(run("defaults  write com.apple.dock autohide -bool maybe"));
    ASSERT_TRUE(run("defaults delete com.apple.dock autohide"));
    EXPECT_FALSE(run("defaults  read com.apple.dock autohide"));
    ASSERT_TRUE(run("defaults delete com.apple.dock "));
    EXPECT_NE(run("defaults read com.apple.dock")
                  .error()
                  .message.find("Domain com.apple.dock does not exist"),
              std::string::npos);
    EXPECT_FALSE(run("defaults write ../escape key value"));
}

// Whole domains go out as XML with their keys in order and come back in
// from either format, replacing what was there; only a dictionary is taken.
TEST_F(StandInDefaultsTest, exportsAndImportsWholeDomains) {
    auto run = [&](const std::string& command) { return realShell.run(command); };
    const std::string header =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
        "1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n";
    EXPECT_EQ(run("defaults export com.example.none -").value(), header + "<dict/>\n</plist>");
    ASSERT_TRUE(run("defaults write com.example.app zeta -int 3"));
    ASSERT_TRUE(run("defaults write com.example.app alpha -bool true"));
    ASSERT_TRUE(run("defaults -currentHost write com.example.app alpha -bool false"));
    const std::string exported = run("defaults export com.example.app -").value();
    EXPECT_EQ(exported,
              header +
                  "<dict>\n\t<key>alpha</key>\n\t<true/>\n\t<key>zeta</key>\n\t<integer>3<"
                  "/integer>\n</dict>\n</plist>");
    EXPECT_NE(run("defaults -currentHost export com.example.app -").value().find("<false/>"),
              std::string::npos);

    const auto binary =
        platform::sim::domains::fileOf(home.homeDirectory(), "com.example.app", false);
    ASSERT_TRUE(
        run("defaults import com.example.copy - < " + platform::shellQuote(binary.string())));
    EXPECT_EQ(run("defaults export com.example.copy -").value(), exported);
    ASSERT_TRUE(
        run("printf '%s' '<plist version=\"1.0\"><dict><key>only</key><string>x "
            "y</string></dict></plist>' | defaults import com.example.app -"));
    EXPECT_EQ(run("defaults read com.example.app only").value(), "x y");
    EXPECT_FALSE(run("defaults read com.example.app zeta"));

    const std::string before = run("defaults export com.example.app -").value();
    for (const char* refused : {"<plist version=\"1.0\"><array/></plist>", "not a list"}) {
        auto imported =
            run("printf '%s' '" + std::string(refused) + "' | defaults import com.example.app -");
        ASSERT_FALSE(imported) << refused;
        EXPECT_NE(imported.error().message.find("Defaults have not been changed"),
                  std::string::npos);
    }
    EXPECT_EQ(run("defaults export com.example.app -").value(), before);
}

}  // namespace
}  // namespace quorvane::system

namespace quorvane::system {
namespace {

namespace domains = platform::sim::domains;

// Domains are the property lists macOS keeps, where macOS keeps them: what
// the stand-in writes, another program (or `plistutil`) can read, and what
// it does not understand it keeps.
TEST_F(StandInDefaultsTest, domainsAreBinaryPropertyListsThatKeepWhatTheToolDoesNotKnow) {
    const auto user = home.homeDirectory();
    const auto xcode = domains::fileOf(user, "com.apple.dt.xcode", false);
    {
        std::ofstream(xcode) << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>Blob</key><data>AAEC/w==</data>
<key>When</key><date>2024-01-02T03:04:05Z</date><key>Count</key><integer>-3</integer></dict></plist>)";
    }
    ASSERT_TRUE(realShell.run("defaults write com.apple.dt.xcode IDEIndexDisable -bool true"));
    std::ifstream written(xcode, std::ios::binary);
    std::string magic(8, '\0');
    written.read(magic.data(), 8);
    EXPECT_EQ(magic, "bplist00");
    auto values = domains::load(xcode).value();
    EXPECT_EQ(values["Blob"], (nlohmann::ordered_json{{"$data", "000102ff"}}));
    EXPECT_TRUE(values["When"].contains("$date"));
    EXPECT_EQ(values["Count"], -3);
    EXPECT_EQ(realShell.run("defaults read com.apple.dt.xcode IDEIndexDisable").value(), "1");

    // A domain an earlier version kept as JSON is read once and converted.
    const auto legacy = user / "Library/Preferences/com.apple.finder.json";
    std::ofstream(legacy) << R"({"AppleShowAllFiles": true})";
    EXPECT_EQ(realShell.run("defaults read com.apple.finder AppleShowAllFiles").value(), "1");
    EXPECT_FALSE(std::filesystem::exists(legacy));
    EXPECT_TRUE(std::filesystem::exists(domains::fileOf(user, "com.apple.finder", false)));
}

}  // namespace
}  // namespace quorvane::system

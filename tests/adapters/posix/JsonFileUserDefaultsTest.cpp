#include <gtest/gtest.h>

#include <fstream>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/JsonFileUserDefaults.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

TEST(JsonFileUserDefaults, writesThroughAndReadsBackEachType) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog log;
    const auto file = temporary.path() / "config/UserDefaults.json";
    {
        JsonFileUserDefaults defaults(file, log);
        defaults.set("Store.hideMainWindowAtLaunch", false);
        defaults.set("KeepMacAwakeTask.Manager.period", std::int64_t{3600});
        defaults.set("DimTask.level", 0.25);
        defaults.set("ArrangeDisplaysTask.position", std::string("left"));
        defaults.set("KeyboardSpellingLanguageTask.Manager.favoriteIds", StringList{"en", "fr_CA", ""});
        defaults.set("empty", StringList{});
        defaults.set("gone", true);
        defaults.remove("gone");
    }
    JsonFileUserDefaults reread(file, log);
    EXPECT_EQ(reread.boolValue("Store.hideMainWindowAtLaunch"), false);
    EXPECT_EQ(reread.intValue("KeepMacAwakeTask.Manager.period"), 3600);
    EXPECT_EQ(reread.doubleValue("KeepMacAwakeTask.Manager.period"), 3600.0);
    EXPECT_EQ(reread.doubleValue("DimTask.level"), 0.25);
    EXPECT_EQ(reread.stringValue("ArrangeDisplaysTask.position"), "left");
    EXPECT_FALSE(reread.boolValue("ArrangeDisplaysTask.position"));
    EXPECT_EQ(reread.stringListValue("KeyboardSpellingLanguageTask.Manager.favoriteIds"),
              (StringList{"en", "fr_CA", ""}));
    EXPECT_EQ(reread.stringListValue("empty"), StringList{});
    EXPECT_FALSE(reread.stringListValue("ArrangeDisplaysTask.position"));
    EXPECT_FALSE(reread.value("gone"));
    EXPECT_TRUE(log.lines.empty());

    // What a save killed before its rename left is gone at the next start;
    // a file of the user's that only looks alike stays.
    const auto stale = file.parent_path() / ".UserDefaults.json.Ab12Cd";
    const auto theirs = file.parent_path() / ".UserDefaults.json.notes";
    std::ofstream(stale) << "{\"half\":";
    std::ofstream(theirs) << "mine";
    std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() -
                                                std::chrono::minutes(1));
    JsonFileUserDefaults started(file, log);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(theirs));
}

TEST(JsonFileUserDefaults, aListWithAnythingButStringsIsSkippedAndLogged) {
    testing::TemporaryDirectory temporary;
    memory::MemoryLog log;
    const auto file = temporary.path() / "UserDefaults.json";
    std::ofstream(file) << R"({"mixed": ["en", 3], "kept": ["fr"]})";
    JsonFileUserDefaults defaults(file, log);
    EXPECT_FALSE(defaults.value("mixed"));
    EXPECT_EQ(defaults.stringListValue("kept"), StringList{"fr"});
    EXPECT_EQ(log.lines.size(), 1u);
}

TEST(JsonFileUserDefaults, keepsAFileItCannotReadAndStartsFromTheDefaults) {
    // Cut short; and whole, but followed by a NUL and more, which a parser
    // reading up to the NUL would take for the end.
    for (const std::string& damaged :
         {std::string("{\"Store.hideMainWindowAtLaunch\": fal"),
          std::string("{\"Store.hideMainWindowAtLaunch\": false}\0junk", 44)}) {
        testing::TemporaryDirectory temporary;
        memory::MemoryLog log;
        const auto file = temporary.path() / "UserDefaults.json";
        std::ofstream(file, std::ios::binary) << damaged;
        JsonFileUserDefaults defaults(file, log);
        EXPECT_FALSE(defaults.value("Store.hideMainWindowAtLaunch"));
        EXPECT_TRUE(log.contains("kept it as"));
        defaults.set("a", true);

        int kept = 0;
        for (const auto& entry : std::filesystem::directory_iterator(temporary.path()))
            if (entry.path().filename().string().starts_with("UserDefaults.json.undecodable-"))
                ++kept;
        EXPECT_EQ(kept, 1);
        JsonFileUserDefaults reread(file, log);
        EXPECT_EQ(reread.boolValue("a"), true);
    }
}

}  // namespace
}  // namespace quorvane::platform::posix

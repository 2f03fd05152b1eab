#include <gtest/gtest.h>

#include "cli/CommandLine.hpp"

namespace quorvane::cli {
namespace {

TEST(CommandLine, startsByDefaultAndNamesWhatItDoesNotKnow) {
    EXPECT_EQ(parseCommandLine({}).value().action, CommandLine::Action::start);
    EXPECT_EQ(parseCommandLine({"--help"}).value().action, CommandLine::Action::help);
    EXPECT_EQ(parseCommandLine({"--version"}).value().action, CommandLine::Action::version);
    auto unknown = parseCommandLine({"--frobnicate"});
    ASSERT_FALSE(unknown);
    EXPECT_NE(unknown.error().message.find("--frobnicate"), std::string::npos);
    EXPECT_FALSE(parseCommandLine({"--help", "extra"}));
}

}  // namespace
}  // namespace quorvane::cli

namespace quorvane::cli {
namespace {

TEST(CommandLine, linksCarryTheSameActionsAsTheCommands) {
    auto run = parseCommandLine({"quorvane://run?name=Set%20screenshot%20location"});
    ASSERT_TRUE(run);
    EXPECT_EQ(run.value().action, CommandLine::Action::runNamed);
    EXPECT_EQ(run.value().tweakName, "Set screenshot location");

    auto toggle = parseUrl("quorvane://toggle?name=Caf%C3%A9%20%26%20Dock&on=true");
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle.value().action, CommandLine::Action::toggleNamed);
    EXPECT_EQ(toggle.value().tweakName, "Café & Dock");
    EXPECT_TRUE(toggle.value().on);
    EXPECT_FALSE(parseUrl("quorvane://toggle?name=X&on=False").value().on);

    for (const char* bad :
         {"quorvane://toggle?name=X", "quorvane://toggle?name=X&on=maybe", "quorvane://run",
          "quorvane://delete?name=X", "http://run?name=X", "quorvane://run?name=X&on=true"})
        EXPECT_FALSE(parseUrl(bad)) << bad;

    auto named = parseCommandLine({"toggle", "Auto Hide Dock", "off"});
    ASSERT_TRUE(named);
    EXPECT_EQ(named.value().tweakName, "Auto Hide Dock");
    EXPECT_FALSE(named.value().on);
    EXPECT_FALSE(parseCommandLine({"toggle", "Auto Hide Dock"}));
}

}  // namespace
}  // namespace quorvane::cli

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

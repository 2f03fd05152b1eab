#include <gtest/gtest.h>

#include "cli/CommandDefinition.hpp"
#include "cli/HelpText.hpp"
#include "simmac/commands/SimCommandLine.hpp"

namespace quorvane::cli {
namespace {

// The program adds the simulated Mac's commands before it reads a command
// line; so do these tests.
[[maybe_unused]] const bool simCommandsAdded = (simmac::addSimCommands(), true);

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

namespace quorvane::cli {
namespace {

TEST(CommandLine, theHelpAndEveryUsageMessageComeFromTheTable) {
    const std::string help = usageText();
    for (const auto& definition : commandDefinitions()) {
        const std::string name(definition.name);
        EXPECT_NE(help.find("quorvane " + name), std::string::npos) << name;
        if (!definition.parse || name.empty())
            continue;
        std::vector<std::string> arguments;
        for (std::size_t at = 0, space; at <= name.size(); at = space + 1) {
            space = std::min(name.find(' ', at), name.size());
            arguments.push_back(name.substr(at, space - at));
        }
        arguments.insert(arguments.end(), {"--bogus", "a", "b", "c"});
        auto parsed = parseCommandLine(arguments);
        if (!parsed) {  // finder-action takes any action id and paths here
            EXPECT_NE(parsed.error().message.find("quorvane " + name), std::string::npos)
                << parsed.error().message;
        }
    }
    // A family named right with a wrong word after it lists what it takes.
    auto sim = parseCommandLine({"sim", "frobnicate"});
    ASSERT_FALSE(sim);
    EXPECT_NE(sim.error().message.find("quorvane sim press COMBINATION"), std::string::npos);
    EXPECT_EQ(parseCommandLine({"sim", "revoke", "accessibility"}).value().on, false);
    EXPECT_EQ(parseCommandLine({"-h"}).value().action, CommandLine::Action::help);
}

}  // namespace
}  // namespace quorvane::cli

namespace quorvane::cli {
namespace {

// Names must be text; a path is whatever bytes the file system has.
TEST(CommandLine, namesThatAreNotTextAreRefusedAndPathsKeepTheirBytes) {
    const std::string bad = "bad\xffname";
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"run", bad}, {"toggle", bad, "on"}, {"set", bad, "off"}, {"sim", "post", bad},
             {"sim", "press", bad}, {"finder-action", bad, "/tmp"}, {"list", "--search", bad}}) {
        auto parsed = parseCommandLine(arguments);
        ASSERT_FALSE(parsed) << arguments.front();
        EXPECT_NE(parsed.error().message.find("not valid UTF-8"), std::string::npos);
    }
    // A link is held to the same rule, whether its bytes or its decoded name
    // are not text, and however it is handed over.
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"quorvane://run?name=%FF%FE"},
                                               {"quorvane://toggle?name=Dark%C3&on=true"},
                                               {"quorvane://run?name=bad\xffname"},
                                               {"--from-link", "quorvane://run?name=%FF"}}) {
        auto parsed = parseCommandLine(arguments);
        ASSERT_FALSE(parsed) << arguments.back();
        EXPECT_NE(parsed.error().message.find("not valid UTF-8"), std::string::npos);
    }
    auto paths = parseCommandLine({"finder-action", "newFolder", "/tmp/bad\xff", "file:///tmp/caf%E9"});
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths.value().paths, (std::vector<std::string>{"/tmp/bad\xff", "/tmp/caf\xe9"}));
}

// `help COMMAND`, the manual and the completions read the same table: a
// command added there is documented everywhere, with an example.
TEST(CommandLine, eachCommandHasHelpWithAnExampleAndAPlaceInTheManual) {
    const std::string manual = manPage();
    for (const auto& definition : commandDefinitions()) {
        if (!definition.parse)
            continue;
        EXPECT_FALSE(definition.example.empty()) << definition.name;
        EXPECT_TRUE(definition.example.starts_with("quorvane")) << definition.example;
        if (definition.name.empty())
            continue;
        auto help = commandHelp(wordsOf(definition.name));
        ASSERT_TRUE(help) << definition.name;
        EXPECT_NE(help.value().find(usage(definition).message), std::string::npos) << help.value();
        EXPECT_NE(help.value().find(std::string(definition.example)), std::string::npos);
        EXPECT_NE(manual.find(std::string(definition.name.substr(0, definition.name.find('-')))),
                  std::string::npos)
            << definition.name;
    }
    auto parsed = parseCommandLine({"help", "sim", "drag"});
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed.value().action, CommandLine::Action::help);
    EXPECT_NE(commandHelp(parsed.value().simWords).value().find("--pause S"), std::string::npos);
    // The first word of a family lists the family's commands.
    ASSERT_TRUE(parseCommandLine({"help", "sim"}));
    auto family = commandHelp({"sim"});
    ASSERT_TRUE(family);
    for (const char* member :
         {"quorvane sim drag X1 Y1", "quorvane sim pointer", "quorvane sim post"})
        EXPECT_NE(family.value().find(member), std::string::npos) << member;
    EXPECT_FALSE(commandHelp({"si"}));
    auto unknown = commandHelp({"sim", "frobnicate"});
    ASSERT_FALSE(unknown);
    EXPECT_NE(unknown.error().message.find("\"sim frobnicate\""), std::string::npos);

    // Roff: quotes, hyphens and backslashes are escaped, no line starts a request.
    EXPECT_NE(manual.find("run \\(dqTWEAK NAME\\(dq"), std::string::npos);
    EXPECT_NE(manual.find("\\-\\-json"), std::string::npos);
    EXPECT_EQ(manual.find("\n'"), std::string::npos);
    // The desktop entry's command, started from a menu without a link, starts.
    EXPECT_EQ(parseCommandLine({"--from-link"}).value().action, CommandLine::Action::start);
}

}  // namespace
}  // namespace quorvane::cli

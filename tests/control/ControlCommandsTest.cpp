#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "control/ControlWorld.hpp"
#include "cli/CommandDefinition.hpp"
#include "simmac/commands/SimCommandLine.hpp"

namespace quorvane::app {
namespace {

// The program adds the simulated Mac's commands before it reads a command
// line; so do these tests.
[[maybe_unused]] const bool simCommandsAdded = (simmac::addSimCommands(), true);

struct ControlCommandsTest : ::testing::Test, ControlWorld {
    // Every answer, which must be exactly one JSON object.
    nlohmann::json ask(const std::string& request) {
        std::vector<std::string> answers;
        commands.handle(request, [&](const std::string& line) { answers.push_back(line); });
        EXPECT_EQ(answers.size(), 1u) << request;
        if (answers.empty())
            return {};
        auto answer = nlohmann::json::parse(answers.front(), nullptr, false);
        EXPECT_TRUE(answer.is_object()) << answers.front();
        return answer;
    }
};

TEST_F(ControlCommandsTest, everyCommandOfTheTableIsBoundAndSaysWhatIsWrongWithABadRequest) {
    for (const auto& definition : controlCommandDefinitions()) {
        const std::string name(definition.name);
        SCOPED_TRACE(name);
        EXPECT_GT(definition.deadline.count(), 0);
        if (name == "finderAction") {  // bound only with a performer
            EXPECT_FALSE(commands.isBound(name));
            EXPECT_EQ(ask(R"({"command":"finderAction"})")["error"], definition.whenUnbound);
            continue;
        }
        EXPECT_TRUE(commands.isBound(name));
        const bool takesNothing =
            name == "ping" || name == "reopen" || name == "list" || name == "desktop" ||
            name == "displays" || name == "overlays";
        for (const std::string& bad :
             {R"({"command":")" + name + R"("})",
              R"({"command":")" + name +
                  R"(","id":7,"name":[],"on":"yes","combination":null,"actionId":{},"paths":1})"}) {
            auto answer = ask(bad);
            EXPECT_EQ(answer["ok"], takesNothing) << bad;
            if (!takesNothing) {
                EXPECT_NE(answer["error"].get<std::string>().find('"'), std::string::npos)
                    << answer;
            }
        }
    }
    EXPECT_EQ(ask(R"({"command":"set"})")["error"], R"("set" needs "id" (text))");
    EXPECT_EQ(ask(R"({"command":"toggleNamed","name":"Dark Mode","on":1})")["error"],
              R"("on" of "toggleNamed" must be true or false)");
    EXPECT_EQ(ask(R"({"command":"frobnicate"})")["error"], R"(unknown command "frobnicate")");
    EXPECT_EQ(ask("not json")["ok"], false);
    EXPECT_EQ(ask(std::string("{\"command\":\"ping\"}\0junk", 22))["ok"], false);
    EXPECT_EQ(ask("{\"command\":\"bad\xff\"}")["ok"], false);
    EXPECT_TRUE(posted.empty());

    EXPECT_EQ(ask(R"({"command":"post","name":"com.apple.screenIsLocked"})")["observers"], 1);
    // Not an automation event, but observed (the appearance's change); no one
    // observes the last.
    EXPECT_EQ(ask(R"({"command":"post","name":"AppleInterfaceThemeChangedNotification"})")["ok"],
              true);
    EXPECT_EQ(ask(R"({"command":"post","name":"NSNobodyListensNotification"})")["ok"], false);
    EXPECT_EQ(posted.size(), 2u);
    EXPECT_EQ(ask(R"({"command":"set","id":"AutoHideDockTask","on":true})")["on"], true);
    EXPECT_TRUE(store.mState->autoHideDock);
}

// A link in a web page must not run a tweak behind the user's back.
TEST_F(ControlCommandsTest, aLinkAsksBeforeItRunsAndRemembersAlwaysAllow) {
    const std::string link = R"(,"origin":"link","link":"quorvane://run?name=Empty%20Trash"})";
    auto answer = ask(R"({"command":"runNamed","name":"Empty Trash")" + link);
    EXPECT_EQ(answer["confirming"], true);
    ASSERT_EQ(confirmations.asked.size(), 1u);
    EXPECT_EQ(confirmations.asked[0].message, "Allow a link to run \"Empty Trash\"?");
    EXPECT_NE(confirmations.asked[0].informativeText.find("quorvane://run?name=Empty%20Trash"),
              std::string::npos);
    EXPECT_TRUE(journal.empty());
    confirmations.answers[0]({.confirmed = false});
    EXPECT_TRUE(journal.empty());
    EXPECT_NE(activity.lines().back().find("link refused"), std::string::npos);

    ask(R"({"command":"runNamed","name":"Empty Trash")" + link);
    confirmations.answers[1]({.confirmed = true, .option = true});
    EXPECT_EQ(journal, std::vector<std::string>{"run EmptyTrashTask"});
    // Allowed from now on: no question, it just runs.
    EXPECT_FALSE(ask(R"({"command":"runNamed","name":"Empty Trash")" + link).contains("confirming"));
    EXPECT_EQ(confirmations.asked.size(), 2u);
    EXPECT_EQ(journal.size(), 2u);

    // A toggle that is not a preference asks too; a typed command never does.
    ask(R"({"command":"toggleNamed","name":"Snap Windows","on":true,"origin":"link"})");
    EXPECT_EQ(confirmations.asked.size(), 3u);
    EXPECT_FALSE(store.pState->snapsWindows);
    ask(R"({"command":"toggleNamed","name":"Snap Windows","on":true})");
    EXPECT_TRUE(store.pState->snapsWindows);
}

// Quitting closes a link's open question: the journal says so, and not that
// the user cancelled it.
TEST_F(ControlCommandsTest, aLinkQuestionClosedAtQuitIsJournaledAsSuch) {
    ask(R"({"command":"runNamed","name":"Empty Trash","origin":"link",)"
        R"("link":"quorvane://run?name=Empty%20Trash"})");
    ASSERT_EQ(confirmations.answers.size(), 1u);
    confirmations.answers[0]({.closedAtQuit = true});
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(activity.lines().back(),
              "EmptyTrashTask link refused closed at quit: quorvane://run?name=Empty%20Trash");
}

// A client told "nothing was done" must be able to trust it: a request the
// main queue did not reach in time never runs afterwards.
TEST_F(ControlCommandsTest, aRequestGivenUpOnIsNeverCarriedOutLater) {
    auto answer = nlohmann::json::parse(handleOnMainQueue(
        queue, commands, R"({"command":"runNamed","name":"Empty Trash"})", nullptr,
        std::chrono::milliseconds(50)));
    EXPECT_EQ(answer["ok"], false);
    EXPECT_NE(answer["error"].get<std::string>().find("nothing was done"), std::string::npos);
    queue.drain();
    EXPECT_TRUE(journal.empty());
}

TEST_F(ControlCommandsTest, onlyTheTablesCommandsCanBeBoundAndEachOnce) {
    ControlCommands table;
    EXPECT_FALSE(table.bind("frobnicate", [](const auto&, const auto&) {}));
    EXPECT_TRUE(table.bind("ping", [](const auto&, const auto& reply) { reply("first"); }));
    EXPECT_FALSE(table.bind("ping", [](const auto&, const auto&) {}));
    // A reply is taken once, however often a handler calls it.
    ControlCommands twice;
    twice.bind("ping", [](const auto&, const auto& reply) {
        reply(controlSuccess());
        reply(controlFailure("again"));
    });
    std::vector<std::string> answers;
    twice.handle(R"({"command":"ping"})", [&](const std::string& line) { answers.push_back(line); });
    EXPECT_EQ(answers, std::vector<std::string>{R"({"ok":true})"});
}

// The README is what people copy from: every command it names must parse.
TEST(CommandTables, everyCommandTheReadmeNamesIsInTheTable) {
    std::ifstream readme(QUORVANE_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readme);
    std::set<std::string> named;
    const std::regex command(R"(quorvane ((?:sim )?[a-z][a-z-]*))");
    for (std::string line; std::getline(readme, line);)
        for (std::sregex_iterator it(line.begin(), line.end(), command), end; it != end; ++it)
            named.insert((*it)[1]);
    named.erase("is");  // "Quorvane is running." is output, not a command
    ASSERT_GE(named.size(), 8u);
    for (const auto& name : named) {
        bool found = false;
        for (const auto& definition : cli::commandDefinitions())
            found = found || (definition.parse && definition.name == name);
        EXPECT_TRUE(found) << "quorvane " << name;
    }
}

}  // namespace
}  // namespace quorvane::app

namespace quorvane::app {
namespace {

// "desktop --watch" listens to every key and click anywhere: its monitor is
// journaled as input, started and stopped, like a tweak's.
TEST_F(ControlCommandsTest, aDesktopWatchIsJournaledWhileItListens) {
    std::vector<std::string> answers;
    commands.handle(R"({"command":"desktopWatch","seconds":1})",
                    [&](const std::string& line) { answers.push_back(line); });
    EXPECT_TRUE(answers.empty());
    ASSERT_FALSE(activity.entries().empty());
    EXPECT_EQ(activity.entries().back().cause, "DesktopWatch");
    EXPECT_EQ(activity.entries().back().weight, platform::JournalWeight::input);
    EXPECT_NE(activity.entries().back().detail.find("input monitoring started"), std::string::npos);
    queue.advance(std::chrono::seconds(1));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_NE(activity.entries().back().detail.find("input monitoring stopped"), std::string::npos);
}

}  // namespace
}  // namespace quorvane::app

#include <gtest/gtest.h>

#include <mutex>

#include "input/KeyboardTweakFixture.hpp"
#include "input/keyboard/KeyboardSpellingLanguageTask.hpp"
#include "simmac/SimSpellChecker.hpp"

namespace quorvane::input {
namespace {

using namespace platform;

// The defaults tool as the helper runs it: the global spelling language,
// every command line kept.
struct RecordingShell final : ShellRunner {
    std::mutex mutex;
    std::vector<std::string> commands;
    std::string language = "fr";
    bool readFails = false;

    Result<std::string> run(const std::string& commandLine) override {
        std::lock_guard lock(mutex);
        commands.push_back(commandLine);
        if (commandLine == readSpellingLanguageCommand()) {
            if (readFails)
                return Error{"The domain/default pair does not exist"};
            return language;
        }
        const std::string write = "defaults write -g NSPreferredSpellServerLanguage -string ";
        if (commandLine.starts_with(write))
            language = commandLine.substr(write.size());
        return std::string();
    }
    void terminateRunning() override {}
};

class SpellingLanguage : public testing::KeyboardTweakFixture {
  protected:
    sim::SimSpellChecker checker;
    RecordingShell shell;
    std::unique_ptr<KeyboardSpellingLanguageTask> task = [this] {
        services.spellChecker = &checker;
        services.shell = &shell;
        return std::make_unique<KeyboardSpellingLanguageTask>(core::TweakInfo{.id = "KeyboardSpellingLanguageTask"},
                                                              services);
    }();

    std::string cycle() {
        (void)task->run();
        task->waitForHelper();
        queue.drain();
        return task->currentLanguageId();
    }
};

TEST_F(SpellingLanguage, CyclesThroughTheFavouritesInTheCheckersOrderAndWraps) {
    KeyboardSpellingLanguageTask::favoriteIds.write(defaults, {"fr", "en"});
    // "en" comes before "fr" in the checker's list: fr wraps round to en.
    EXPECT_EQ(cycle(), "en");
    // The system's setting changed: journaled as the command that did it.
    ASSERT_FALSE(journal.lines().empty());
    EXPECT_EQ(journal.lines().back(), "KeyboardSpellingLanguageTask preference defaults write -g "
                                      "NSPreferredSpellServerLanguage -string en");
    EXPECT_EQ(cycle(), "fr");
    EXPECT_EQ(shell.commands.back(), "defaults write -g NSPreferredSpellServerLanguage -string fr");

    // Changed elsewhere to a language that is no favourite: the first.
    shell.language = "de";
    EXPECT_EQ(cycle(), "en");
    // An unreadable preference counts as none of them.
    shell.readFails = true;
    EXPECT_EQ(cycle(), "en");
    shell.readFails = false;

    // A favourite the checker does not offer is skipped.
    KeyboardSpellingLanguageTask::favoriteIds.write(defaults, {"xx", "es"});
    EXPECT_EQ(cycle(), "es");
    const auto journaled = journal.entries().size();
    EXPECT_EQ(cycle(), "es");
    // The language already in use is no change.
    EXPECT_EQ(journal.entries().size(), journaled);

    // None the checker offers: nothing is written.
    KeyboardSpellingLanguageTask::favoriteIds.write(defaults, {"xx"});
    const auto before = shell.commands.size();
    cycle();
    ASSERT_EQ(shell.commands.size(), before + 1);
    EXPECT_EQ(shell.commands.back(), readSpellingLanguageCommand());
}

TEST_F(SpellingLanguage, SeedsEmptyFavouritesOnceARunAndListsThemWithFlags) {
    const auto panel = task->extraView();
    ASSERT_FALSE(panel.isEmpty());
    task->waitForHelper();
    queue.drain();
    auto items = panel.items();
    EXPECT_EQ(KeyboardSpellingLanguageTask::favoriteIds.read(defaults),
              (StringList{"en", "en_GB", "fr", "es"}));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[1].title, "English (United Kingdom)");
    EXPECT_EQ(items[1].icon, "🇬🇧");
    EXPECT_EQ(items[0].icon, "");
    // The current language (read at the first look) is marked.
    EXPECT_TRUE(items[3].marked);
    EXPECT_EQ(items[3].id, "fr");

    // Removing every favourite leaves none until the next start.
    int changes = 0;
    auto watching = panel.observe([&] { ++changes; });
    for (const auto& id : StringList{"en", "en_GB", "fr", "es"})
        task->setFavorite(id, false);
    EXPECT_EQ(changes, 4);
    EXPECT_TRUE(panel.items().empty());
    KeyboardSpellingLanguageTask next({.id = "KeyboardSpellingLanguageTask"}, services);
    EXPECT_EQ(next.configureView().sections.front().controls.front().list->items().size(),
              checker.availableLanguages().size());
    EXPECT_EQ(KeyboardSpellingLanguageTask::favoriteIds.read(defaults).size(), 4u);

    // A click in the panel selects.
    panel.choose("es");
    task->waitForHelper();
    queue.drain();
    EXPECT_EQ(task->currentLanguageId(), "es");
    EXPECT_EQ(shell.language, "es");
    EXPECT_EQ(journal.lines().back(), "KeyboardSpellingLanguageTask preference defaults write -g "
                                      "NSPreferredSpellServerLanguage -string es");
    // Chosen again: nothing is written or journaled.
    const auto journaled = journal.entries().size();
    const auto commands = shell.commands.size();
    panel.choose("es");
    task->waitForHelper();
    queue.drain();
    EXPECT_EQ(journal.entries().size(), journaled);
    EXPECT_EQ(shell.commands.back(), readSpellingLanguageCommand());
    EXPECT_EQ(shell.commands.size(), commands + 1);
}

TEST_F(SpellingLanguage, AnIdReachesTheShellAsOneQuotedWordAndPlainIdsUnchanged) {
    EXPECT_EQ(writeSpellingLanguageCommand("pt_BR"),
              "defaults write -g NSPreferredSpellServerLanguage -string pt_BR");
    EXPECT_EQ(writeSpellingLanguageCommand("x'; touch /tmp/p"),
              "defaults write -g NSPreferredSpellServerLanguage -string 'x'\\''; touch /tmp/p'");
    task->select("x'; touch /tmp/p");
    task->waitForHelper();
    EXPECT_EQ(shell.commands.back(), writeSpellingLanguageCommand("x'; touch /tmp/p"));
}

TEST(SpellingFlags, ComeFromTwoLetterRegionsOnly) {
    EXPECT_EQ(flagOf("FR"), "🇫🇷");
    EXPECT_EQ(flagOf("br"), "🇧🇷");
    EXPECT_EQ(flagOf(""), "");
    EXPECT_EQ(flagOf("419"), "");
    EXPECT_EQ(flagOf("Latn"), "");
    EXPECT_EQ(spellingLanguage({"pt_BR", "Portuguese (Brazil)"}).countryCode, "BR");
}

}  // namespace
}  // namespace quorvane::input

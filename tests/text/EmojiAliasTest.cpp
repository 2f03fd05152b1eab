#include <gtest/gtest.h>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "platform/Utf8.hpp"
#include "text/TextFixture.hpp"
#include "text/emoji/EmojiAliasTask.hpp"

namespace quorvane::text {
namespace {

using namespace std::chrono_literals;
using platform::sim::SimDesktopCommand;

// The panel as the manager drives it.
struct RecordingPanel final : EmojiAliasView {
    void present(platform::Rect frame) override {
        shown = true;
        frames.push_back(frame);
    }
    void withdraw() override { shown = false; }
    void setMatches(std::shared_ptr<const EmojiIndex>, std::vector<std::size_t> matches,
                    std::optional<std::size_t> selected) override {
        rows = matches.size();
        row = selected;
    }
    bool shown = false;
    std::vector<platform::Rect> frames;
    std::size_t rows = 0;
    std::optional<std::size_t> row;
};

class EmojiAlias : public TextFixture {
  protected:
    void SetUp() override {
        services.makeAliasPanel = [this] {
            auto made = std::make_unique<RecordingPanel>();
            panel = made.get();
            return made;
        };
        const auto& rows = core::builtinCatalogue();
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [](const auto& candidate) { return candidate.info.id == "EmojiAliasTask"; });
        task = std::make_shared<EmojiAliasTask>(row->info, *core::pStateField(*row), services);
        owned.apps.start();
        sim({"app", "activate", "200"});  // TextEdit in front
        core::switchAndApply(*task, true, true);
        settle();
        ASSERT_TRUE(manager().isMonitoring());
    }

    EmojiAliasManager& manager() { return task->manager(); }
    void sim(std::vector<std::string> words) {
        ASSERT_TRUE(desktop.perform(SimDesktopCommand::parse(words).value()));
        settle();
    }
    void type(const std::string& text) { sim({"type", text}); }
    void key(const std::string& combination) {
        desktop.key(combination);
        settle();
    }
    std::string typedText() { return desktop.text(platform::sim::SimWindowServer::textEditPid); }
    // The emoji of the selected match.
    std::string selectedEmoji() {
        const auto row = manager().selectedRow();
        return row ? manager().index()->table()[manager().matches()[*row]].emoji : std::string();
    }

    std::shared_ptr<EmojiAliasTask> task;
    RecordingPanel* panel = nullptr;
};

TEST_F(EmojiAlias, keyScriptsGiveTheQueryThePanelAndTheApplicationsText) {
    struct Script {
        std::vector<std::pair<bool, std::string>> steps;  // (is a key, text)
        std::string query;
        bool showing;
        std::string text;
    };
    const std::vector<Script> scripts{
        {{{false, ":"}}, ":", false, ":"},
        {{{false, "Hi :s"}}, ":s", true, "Hi :s"},
        {{{false, "::"}}, "", false, "::"},
        {{{false, ":ta:"}}, "", false, ":ta:"},
        // The panel's keys close it and never reach the application.
        {{{false, ":tad"}, {true, "Esc"}}, "", false, ":tad"},
        {{{false, ":tad"}, {true, "Space"}}, "", false, ":tad"},
        {{{false, ":tad"}, {true, "Left"}}, "", false, ":tad"},
        // Delete takes one character from both, the colon last.
        {{{false, ":ta"}, {true, "Backspace"}}, ":t", true, ":t"},
        {{{false, ":ta"}, {true, "Backspace"}, {true, "Backspace"}, {true, "Backspace"}}, "", false, ""},
        // Back to the colon alone, the panel goes and nothing can be
        // chosen: Return is the application's.
        {{{false, ":ta"}, {true, "Backspace"}, {true, "Backspace"}}, ":", false, ":"},
        {{{false, ":t"}, {true, "Backspace"}, {true, "Return"}}, "", false, ":\r"},
        {{{false, ":t"}, {true, "Backspace"}, {false, "a"}}, ":a", true, ":a"},
        // Aliases hold more than letters and digits; a character none holds
        // ends the shortcode and stays in the application.
        {{{false, ":star-st"}}, ":star-st", true, ":star-st"},
        {{{false, ":smi%"}}, "", false, ":smi%"},
        // Return with nothing to choose is the application's.
        {{{false, ":qqzzxx"}, {true, "Return"}}, "", false, ":qqzzxx\r"},
    };
    for (const auto& script : scripts) {
        SCOPED_TRACE(script.steps.front().second);
        manager().dismiss();
        const auto before = typedText();
        for (const auto& [isKey, text] : script.steps)
            isKey ? key(text) : type(text);
        EXPECT_EQ(manager().query(), script.query);
        EXPECT_EQ(manager().isShowing(), script.showing);
        EXPECT_EQ(panel->shown, script.showing);
        EXPECT_EQ(typedText().substr(before.size()), script.text);
    }
}

TEST_F(EmojiAlias, choosingTypesTheEmojiInPlaceOfEverythingTypedSinceTheColon) {
    pasteboard.setString("kept");
    const auto changes = pasteboard.changeCount();
    type("Party :smi");
    ASSERT_TRUE(manager().isShowing());
    const auto chosen = selectedEmoji();
    ASSERT_FALSE(chosen.empty());
    key("Return");
    EXPECT_EQ(typedText(), "Party " + chosen);
    EXPECT_FALSE(panel->shown);
    EXPECT_EQ(manager().query(), "");
    // Typed, not pasted: the pasteboard is never touched.
    EXPECT_EQ(pasteboard.changeCount(), changes);
    EXPECT_EQ(pasteboard.string(), "kept");

    // A Return typed in the same burst comes before the search result:
    // it chooses from everything typed before it all the same.
    const std::vector<std::string> burst{"type", " :tada"};
    ASSERT_TRUE(desktop.perform(SimDesktopCommand::parse(burst).value()));
    desktop.key("Return");
    settle();
    EXPECT_EQ(typedText(), "Party " + chosen + " \U0001F389");
    const auto entries = journal.entries();
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const auto& entry) {
                                return entry.kind == "insert" &&
                                       entry.detail.ends_with("typed into TextEdit, replacing 5 typed characters");
                            }),
              1);
}

TEST_F(EmojiAlias, whereEmojiCannotBeTypedTheShortcodeStaysAndTheUserIsToldOnce) {
    typing.refuses = true;
    type("Hi :tada");
    key("Return");
    type(" :tada");
    key("Return");
    EXPECT_EQ(typedText(), "Hi :tada :tada");
    EXPECT_FALSE(manager().isShowing());
    EXPECT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(std::count_if(log.lines.begin(), log.lines.end(),
                            [](const auto& line) { return line.message.find("refused") != std::string::npos; }),
              1);
    // Nothing changed, so nothing is journaled.
    const auto entries = journal.entries();
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const auto& entry) { return entry.kind == "insert"; }),
              0);
}

TEST_F(EmojiAlias, anotherApplicationInFrontClosesThePanelAndGetsTheKeys) {
    type(":tad");
    ASSERT_TRUE(manager().isShowing());
    sim({"app", "activate", std::to_string(platform::sim::SimWindowServer::finderPid)});
    EXPECT_FALSE(manager().isShowing());
    EXPECT_FALSE(panel->shown);
    key("Return");
    EXPECT_EQ(desktop.text(platform::sim::SimWindowServer::finderPid), "\r");

    // This program in front is no other application to follow, yet a key
    // captured then is the user's, for it.
    sim({"app", "activate", std::to_string(platform::sim::SimWindowServer::textEditPid)});
    type(" :tad");
    ASSERT_TRUE(manager().isShowing());
    sim({"app", "activate", std::to_string(ownPid)});
    key("Return");
    EXPECT_FALSE(manager().isShowing());
    EXPECT_EQ(typedText(), ":tad :tad");
    EXPECT_EQ(desktop.text(ownPid), "\r");

    // A key typed into this program's window never joins a shortcode of
    // the application behind it, so a choice cannot delete what came
    // before the colon there.
    sim({"app", "activate", std::to_string(platform::sim::SimWindowServer::textEditPid)});
    type(" a:");
    sim({"app", "activate", std::to_string(ownPid)});
    type("tad");
    EXPECT_EQ(manager().query(), "");
    key("Return");
    EXPECT_EQ(typedText(), ":tad :tad a:");
}

TEST_F(EmojiAlias, theTableIsLetGoAMinuteAfterSwitchingOffAndReadAgainWhenOn) {
    int released = 0;
    emojiTable.released = [&released] { ++released; };
    type(":tad");
    ASSERT_TRUE(manager().isShowing());
    core::switchAndApply(*task, false, true);
    settle();
    EXPECT_FALSE(panel->shown);
    EXPECT_EQ(panel->rows, 0u);
    queue.advance(EmojiTable::idleRelease - std::chrono::seconds(1));
    EXPECT_TRUE(emojiTable.isLoaded());

    // On again within the minute: still warm, and kept while on.
    core::switchAndApply(*task, true, true);
    settle();
    queue.advance(EmojiTable::idleRelease * 2);
    EXPECT_TRUE(emojiTable.isLoaded());
    EXPECT_EQ(released, 0);

    core::switchAndApply(*task, false, true);
    settle();
    queue.advance(EmojiTable::idleRelease);
    EXPECT_FALSE(emojiTable.isLoaded());
    EXPECT_TRUE(manager().index()->table().empty());
    EXPECT_EQ(released, 1);

    core::switchAndApply(*task, true, true);
    settle();
    ASSERT_TRUE(emojiTable.isLoaded());
    type(" :tada");
    key("Return");
    EXPECT_TRUE(typedText().ends_with(" \U0001F389")) << typedText();
}

TEST_F(EmojiAlias, everyAliasCanBeTypedAndNothingLongerIsCollected) {
    const auto& table = manager().index()->table();
    std::size_t longest = 0;
    std::vector<std::string> missed;
    for (std::size_t row = 0; row < table.size(); ++row)
        for (const auto& alias : table[row].aliases.value_or(std::vector<std::string>{})) {
            longest = std::max(longest, alias.size());
            manager().dismiss();
            manager().handleGlobalKeyDown({.type = platform::EventType::keyDown, .characters = ":"});
            // One key a character, as typed.
            const std::u32string points = platform::codePoints(alias).value_or(U"");
            for (const char32_t c : points) {
                std::string character;
                platform::appendUtf8(character, c);
                manager().handleGlobalKeyDown(
                    {.type = platform::EventType::keyDown, .characters = character});
            }
            settle();
            const auto& found = manager().matches();
            if (manager().query() != ":" + alias || std::find(found.begin(), found.end(), row) == found.end())
                missed.push_back(alias);
        }
    EXPECT_EQ(missed, std::vector<std::string>{});

    // One character past the longest alias ends the matching, and what
    // follows is not collected.
    manager().dismiss();
    type(" :" + std::string(longest, 'q'));
    EXPECT_TRUE(manager().isShowing());
    type("q");
    EXPECT_FALSE(manager().isShowing());
    type(std::string(2000, 'q'));
    EXPECT_EQ(manager().query(), "");
}

TEST_F(EmojiAlias, selectionStopsAtBothEndsAndStaleResultsAreDropped) {
    type(":tad");
    ASSERT_EQ(manager().selectedRow(), 0u);
    key("Up");
    EXPECT_EQ(manager().selectedRow(), 0u);
    const auto last = manager().matches().size() - 1;
    for (std::size_t i = 0; i <= last + 2; ++i)
        key("Down");
    EXPECT_EQ(manager().selectedRow(), last);

    // ":s" is searched, then ":sm" typed before its result is published:
    // the older result never shows.
    manager().dismiss();
    platform::InputEvent colon{.type = platform::EventType::keyDown, .characters = ":"};
    manager().handleGlobalKeyDown(colon);
    colon.characters = "s";
    manager().handleGlobalKeyDown(colon);
    colon.characters = "m";
    manager().handleGlobalKeyDown(colon);
    settle();
    ASSERT_FALSE(manager().matches().empty());
    for (const auto match : manager().matches()) {
        const auto& aliases = *manager().index()->table()[match].aliases;
        EXPECT_TRUE(std::any_of(aliases.begin(), aliases.end(),
                                [](const auto& alias) { return alias.find("sm") != std::string::npos; }));
    }
    EXPECT_EQ(panel->rows, manager().matches().size());
}

TEST_F(EmojiAlias, repeatsIgnoredAppsAndAMissingApplicationChangeNothing) {
    platform::InputEvent held{.type = platform::EventType::keyDown, .characters = ":", .isARepeat = true};
    manager().handleGlobalKeyDown(held);
    EXPECT_EQ(manager().query(), "");

    manager().setIgnoredApps({"file:///Applications/TextEdit.app/"});
    type(":tad");
    EXPECT_FALSE(manager().isShowing());
    manager().setIgnoredApps({});
    type(" :tad");
    EXPECT_TRUE(manager().isShowing());

    // Without the application it was shown for, a replacement does nothing.
    manager().dismiss();
    const auto before = typedText();
    manager().replace(manager().index()->table().front());
    settle();
    EXPECT_EQ(typedText(), before);

    // The list is JSON text; anything else reads as empty.
    defaults.set(EmojiAliasManager::ignoredAppsKey, std::string("not json"));
    EXPECT_TRUE(manager().ignoredApps().empty());
    manager().setIgnoredApps({"a", "b"});
    EXPECT_EQ(defaults.stringValue(EmojiAliasManager::ignoredAppsKey), R"(["a","b"])");
}

TEST_F(EmojiAlias, thePanelOpensAtThePointerInsideTheVisibleFrame) {
    // The built-in screen's visible frame is (0, 70, 1440, 805) in Cocoa
    // space: the Dock below, the menu bar above.
    struct Case {
        double x, y;  // accessibility space
        platform::Point origin;
    };
    const Case cases[] = {
        {700, 400, {700, 200}},    // where the pointer is
        {1400, 400, {1200, 200}},  // right edge
        {-5, 400, {0, 200}},       // left edge
        {700, 880, {700, 70}},     // above the Dock
        {700, 10, {700, 575}},     // below the menu bar
    };
    for (const auto& c : cases) {
        manager().dismiss();
        sim({"pointer", std::to_string(c.x), std::to_string(c.y)});
        type(" :s");
        ASSERT_FALSE(panel->frames.empty());
        EXPECT_EQ(panel->frames.back().origin.x, c.origin.x) << c.x << "," << c.y;
        EXPECT_EQ(panel->frames.back().origin.y, c.origin.y) << c.x << "," << c.y;
    }
}

TEST_F(EmojiAlias, withoutAccessibilityItSwitchesOffAndAsks) {
    ASSERT_TRUE(simHome.setGranted(platform::Permission::accessibility, false));
    (void)task->run();
    settle();
    EXPECT_FALSE(task->isOn());
    EXPECT_FALSE(manager().isMonitoring());
    ASSERT_EQ(permissionAsker.asked.size(), 1u);
    EXPECT_EQ(permissionAsker.asked.front(), platform::Permission::accessibility);
}

}  // namespace
}  // namespace quorvane::text

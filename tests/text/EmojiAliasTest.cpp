#include <gtest/gtest.h>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/TweakFactory.hpp"
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
        // A character that cannot be in a shortcode reaches the application
        // and leaves the query alone; deleting it leaves it alone too.
        {{{false, ":smi-"}}, ":smi", true, ":smi-"},
        {{{false, ":smi-"}, {true, "Backspace"}}, ":smi", true, ":smi"},
        // Return with no match does nothing.
        {{{false, ":qqzzxx"}, {true, "Return"}}, ":qqzzxx", true, ":qqzzxx"},
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

TEST_F(EmojiAlias, choosingDeletesEverythingTypedSinceTheColonAndPastes) {
    pasteboard.setString("kept");
    type("Party :smi-");
    ASSERT_TRUE(manager().isShowing());
    const auto chosen = selectedEmoji();
    ASSERT_FALSE(chosen.empty());
    for (const auto& match : manager().matches())
        ASSERT_TRUE(std::any_of(manager().index()->table()[match].aliases->begin(),
                                manager().index()->table()[match].aliases->end(),
                                [](const auto& alias) { return alias.find("smi") != std::string::npos; }));
    key("Return");
    EXPECT_EQ(typedText(), "Party " + chosen);
    EXPECT_FALSE(panel->shown);
    EXPECT_EQ(manager().query(), "");
    // The pasteboard holds the emoji until a second has passed.
    EXPECT_EQ(pasteboard.string(), chosen);
    queue.advance(999ms);
    EXPECT_EQ(pasteboard.string(), chosen);
    queue.advance(1ms);
    EXPECT_EQ(pasteboard.string(), "kept");
    const auto entries = journal.entries();
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const auto& entry) { return entry.kind == "insert"; }),
              1);
}

TEST_F(EmojiAlias, thePasteboardIsPutBackWholeUnlessTheUserCopiedMeanwhile) {
    // Every representation comes back, not only the text.
    pasteboard.write({{platform::pasteboardType::png, std::string("\x89PNG\r\n", 6)},
                      {platform::pasteboardType::string, "caption"}});
    const auto original = pasteboard.snapshot();
    type(":tada");
    key("Return");
    queue.advance(1s);
    EXPECT_EQ(pasteboard.snapshot(), original);

    // A copy within the second is the user's, and stays.
    type(":tada");
    key("Return");
    queue.advance(500ms);
    pasteboard.setString("copied meanwhile");
    queue.advance(1s);
    EXPECT_EQ(pasteboard.string(), "copied meanwhile");

    // Two insertions within the second put back what was there before both.
    pasteboard.setString("first");
    type(":tada");
    key("Return");
    queue.advance(300ms);
    type(":tada");
    key("Return");
    queue.advance(1s);
    EXPECT_EQ(pasteboard.string(), "first");

    // An empty pasteboard ends as an empty string.
    pasteboard.clearContents();
    type(":tada");
    key("Return");
    queue.advance(1s);
    EXPECT_EQ(pasteboard.string(), "");
    EXPECT_EQ(typedText().find(':'), std::string::npos);
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

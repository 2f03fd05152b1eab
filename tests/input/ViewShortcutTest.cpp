#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/catalogue/BuiltinCatalogue.hpp"
#include "input/InputTweaks.hpp"
#include "input/KeyboardTweakFixture.hpp"
#include "input/shortcuts/MenuReader.hpp"
#include "input/shortcuts/ViewShortcutTask.hpp"
#include "platform/MacKeyCodes.hpp"
#include "platform/MainThreadAccessibility.hpp"

namespace quorvane::input {
namespace {

using namespace platform;
using namespace std::chrono_literals;
using Part = ShortcutKey::Part;

std::string symbols(const std::vector<Part>& parts) {
    std::string out;
    for (const auto& part : parts)
        out += (out.empty() ? "" : " ") + part.symbol;
    return out;
}

TEST(MenuKeyParts, modifiersInOrderThenTheNamedKeyOrTheCharacter) {
    // Control and Shift with K: the Mac's order, Command unless bit 8.
    EXPECT_EQ(keyParts(5, std::nullopt, "K"),
              (std::vector<Part>{{"⌃", "Control"}, {"⇧", "Shift"}, {"⌘", "Command"}, {"K", "K"}}));
    EXPECT_EQ(symbols(keyParts(2, std::nullopt, "V")), "⌥ ⌘ V");
    EXPECT_EQ(symbols(keyParts(8, 51, std::nullopt)), "⌫");  // no Command
    EXPECT_EQ(symbols(keyParts(8 | 4, std::nullopt, "A")), "⌃ A");
    // Named keys by their virtual key, whatever the character says.
    EXPECT_EQ(keyParts(0, macKey::left, "\xEF\x9C\x82"),
              (std::vector<Part>{{"⌘", "Command"}, {"←", "Left"}}));
    EXPECT_EQ(keyParts(0, 96, std::nullopt).back(), (Part{"f5", "F5"}));
    EXPECT_EQ(keyParts(0, 90, std::nullopt).back(), (Part{"f20", "F20"}));
    EXPECT_EQ(keyParts(0, 53, std::nullopt).back(), (Part{"⎋", "Escape"}));
    // A virtual key that types a character goes by the character.
    EXPECT_EQ(symbols(keyParts(0, 1, "s")), "⌘ s");
    // Not a shortcut: no modifiers attribute, no key, a nonsense value.
    EXPECT_TRUE(keyParts(std::nullopt, std::nullopt, "K").empty());
    EXPECT_TRUE(keyParts(0, std::nullopt, std::nullopt).empty());
    EXPECT_TRUE(keyParts(0, std::nullopt, "").empty());
    EXPECT_TRUE(keyParts(-1, std::nullopt, "K").empty());
}

// A menu tree of our own: an application whose menu bar holds one menu
// whose item opens the same menu again, or one that answers slowly.
struct LoopingMenus final : Accessibility {
    std::chrono::milliseconds delay{0};
    std::atomic<int> calls{0};
    Element systemWide() override { return Element(1); }
    Element application(int) override { return Element(2); }
    std::optional<Element> elementAt(Point) override { return std::nullopt; }
    std::optional<AttributeValue> attribute(Element element, std::string_view name) override {
        ++calls;
        std::this_thread::sleep_for(delay);
        const auto id = element.value();
        if (name == ax::menuBar && id == 2)
            return Element(3);
        if (name == ax::children && id == 3)
            return std::vector<Element>{Element(4)};  // bar item "Loop"
        if (name == ax::children && id == 4)
            return std::vector<Element>{Element(5)};  // its menu
        if (name == ax::children && id == 5)
            return std::vector<Element>{Element(6), Element(4)};  // a key, then the loop
        if (name == ax::role)
            return std::string(id == 5 ? ax::menuRole : ax::menuItemRole);
        if (name == ax::title)
            return std::string(id == 6 ? "Again" : "Loop");
        if (id == 6 && name == ax::menuItemCmdChar)
            return std::string("G");
        if (id == 6 && name == ax::menuItemCmdModifiers)
            return 0.0;
        return std::nullopt;
    }
    std::vector<Element> attributeValues(Element, std::string_view) override { return {}; }
    bool setAttribute(Element, std::string_view, const AttributeValue&) override { return false; }
    std::optional<bool> isAttributeSettable(Element, std::string_view) override { return false; }
    bool performAction(Element, std::string_view) override { return false; }
    std::optional<int> pid(Element) override { return 1; }
};

TEST(MenuReader, cyclicDeepOrSlowMenusEndAtTheirBoundsKeepingWhatWasRead) {
    LoopingMenus looping;
    const auto cyclic = readMenus(looping, 1);
    EXPECT_TRUE(cyclic.truncated);
    ASSERT_EQ(cyclic.menus.size(), 1u);
    // Depth 8: the top menu and seven nested copies, one key each.
    EXPECT_EQ(keyCount(cyclic), 8u);
    EXPECT_EQ(allKeys(cyclic).back()->menuPaths.size(), 8u);

    const auto few = readMenus(looping, 1, {.depth = 100, .items = 40});
    EXPECT_TRUE(few.truncated);
    EXPECT_LE(keyCount(few), 20u);

    looping.delay = 2ms;
    const auto started = std::chrono::steady_clock::now();
    const auto slow = readMenus(looping, 1, {.depth = 1000, .items = 100000, .time = 60ms});
    EXPECT_LT(std::chrono::steady_clock::now() - started, 500ms);
    EXPECT_TRUE(slow.truncated);
    EXPECT_FALSE(slow.menus.empty());
}

// A view that records what the sheet shows.
struct RecordedSheet final : ShortcutSheetView {
    bool shown = false;
    ShortcutSheetState state;
    int presented = 0;
    void present(Rect) override {
        shown = true;
        ++presented;
    }
    void withdraw() override { shown = false; }
    bool isShown() const override { return shown; }
    void show(const ShortcutSheetState& next) override { state = next; }
};

// Counts the reads an application's menus cost.
struct CountingAccessibility final : Accessibility {
    explicit CountingAccessibility(Accessibility& inner) : inner_(inner) {}
    std::atomic<int> reads{0};
    Element systemWide() override { return inner_.systemWide(); }
    Element application(int pid) override {
        ++reads;
        return inner_.application(pid);
    }
    std::optional<Element> elementAt(Point point) override { return inner_.elementAt(point); }
    std::optional<AttributeValue> attribute(Element element, std::string_view name) override {
        return inner_.attribute(element, name);
    }
    std::vector<Element> attributeValues(Element element, std::string_view name) override {
        return inner_.attributeValues(element, name);
    }
    bool setAttribute(Element element, std::string_view name, const AttributeValue& value) override {
        return inner_.setAttribute(element, name, value);
    }
    std::optional<bool> isAttributeSettable(Element element, std::string_view name) override {
        return inner_.isAttributeSettable(element, name);
    }
    bool performAction(Element element, std::string_view action) override {
        return inner_.performAction(element, action);
    }
    std::optional<int> pid(Element element) override { return inner_.pid(element); }

  private:
    Accessibility& inner_;
};

class ViewShortcut : public testing::KeyboardTweakFixture {
  protected:
    MainThreadAccessibility onMain{desktop, queue, 200ms};
    CountingAccessibility counted{onMain};
    RecordedSheet* sheet = nullptr;
    std::shared_ptr<ViewShortcutTask> task = [this] {
        desktop.setMessagingTimeout(20ms);
        services.menuAccessibility = &counted;
        services.makeShortcutSheet = [this](ShortcutSheetController&) {
            auto made = std::make_unique<RecordedSheet>();
            sheet = made.get();
            return made;
        };
        owned.apps.start();
        core::TweakFactory factory;
        addInputTweaks(factory, services, mouse);
        for (const auto& row : core::builtinCatalogue())
            if (row.info.id == "ViewShortcutTask")
                return std::static_pointer_cast<ViewShortcutTask>((*factory.find(row.info.id))(row));
        return std::shared_ptr<ViewShortcutTask>();
    }();
    ViewShortcutManager& manager() { return task->manager(); }

    void sim(sim::SimDesktopCommand command) { ASSERT_TRUE(desktop.perform(command)); }
    void activate(int pid) { sim({.kind = sim::SimDesktopCommand::Kind::activateApp, .pid = pid}); }
    // Runs the main queue until the sheet has what it was reading.
    // The longest the main thread was held by one turn of settle().
    std::chrono::steady_clock::duration longestTurn{};
    void settle() {
        auto turn = [&] {
            const auto started = std::chrono::steady_clock::now();
            queue.drain();
            longestTurn = std::max(longestTurn, std::chrono::steady_clock::now() - started);
        };
        for (int i = 0; i < 5000 && manager().state().isLoading; ++i) {
            turn();
            std::this_thread::sleep_for(1ms);
        }
        turn();
    }
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        for (const auto& row : manager().state().rows)
            out.push_back((row.favorite ? "★ " : "") + joinedPath(*row.key) + " → " + row.key->name +
                          "  " + joinedParts(*row.key));
        return out;
    }
    std::string journalText() {
        std::string out;
        for (const auto& line : journal.lines())
            out += line + "\n";
        return out;
    }
    std::string stored_() {
        auto bytes = records.load(ViewShortcutManager::favoritesKey);
        return bytes && bytes.value() ? *bytes.value() : "";
    }
    bool key(std::uint16_t code) {
        return monitors.local.registry.dispatch({.type = EventType::keyDown, .keyCode = code});
    }
};

TEST_F(ViewShortcut, showsTheFrontApplicationsShortcutsReadOnceAndAgainAfterARelaunch) {
    activate(sim::SimWindowServer::textEditPid);
    sim({.kind = sim::SimDesktopCommand::Kind::addMenuItem, .name = "Format/Kern", .pid = 200,
         .shortcut = "Ctrl+Shift+Meta+K"});
    (void)task->run();
    ASSERT_TRUE(sheet && sheet->shown);
    settle();
    const auto shown = rows();
    ASSERT_EQ(shown.size(), 11u);
    EXPECT_EQ(shown.front(), "File → New  ⌘ + N");
    EXPECT_EQ(shown[7], "Edit → Paste and Match Style  ⌥ + ⇧ + ⌘ + V");
    EXPECT_EQ(shown.back(), "Format → Kern  ⌃ + ⇧ + ⌘ + K");
    EXPECT_EQ(sheet->state.appName, "TextEdit");
    EXPECT_EQ(counted.reads, 1);

    // Again: from the cache.
    (void)task->run();
    EXPECT_FALSE(manager().state().isLoading);
    EXPECT_EQ(rows().size(), 11u);
    EXPECT_EQ(counted.reads, 1);

    // Relaunched, its elements are new: read again.
    sim({.kind = sim::SimDesktopCommand::Kind::quitApp, .pid = 200});
    sim({.kind = sim::SimDesktopCommand::Kind::launchApp, .name = "TextEdit",
         .bundle = "com.apple.TextEdit"});
    (void)task->run();
    settle();
    EXPECT_EQ(counted.reads, 2);
    EXPECT_EQ(rows(), std::vector<std::string>{"File → Close  ⌘ + W"});

    // A hung application reads as nothing, which is not kept; the reader
    // waits for it, not the main thread.
    activate(sim::SimWindowServer::finderPid);
    sim({.kind = sim::SimDesktopCommand::Kind::hangApp, .pid = sim::SimWindowServer::finderPid});
    longestTurn = {};
    (void)task->run();
    settle();
    EXPECT_TRUE(rows().empty());
    EXPECT_LT(longestTurn, 15ms);
    (void)task->run();
    settle();
    EXPECT_EQ(counted.reads, 4);
}

TEST_F(ViewShortcut, aReadForAnApplicationNoLongerShownIsOnlyCached) {
    activate(sim::SimWindowServer::textEditPid);
    (void)task->run();  // TextEdit's read is under way...
    activate(sim::SimWindowServer::finderPid);
    (void)task->run();  // ...when Finder's sheet is asked for
    settle();
    EXPECT_EQ(sheet->state.appName, "Finder");
    ASSERT_FALSE(rows().empty());
    EXPECT_EQ(rows().front(), "File → New Finder Window  ⌘ + N");
    // Return presses Finder's item, not TextEdit's.
    EXPECT_TRUE(key(macKey::down));
    EXPECT_TRUE(key(macKey::returnKey));
    EXPECT_FALSE(sheet->shown);
    EXPECT_NE(journalText().find("pressed File → New Finder Window in Finder"), std::string::npos)
        << journalText();
    // The press is the tweak's doing, and journaled as such.
    EXPECT_NE(journalText().find("ViewShortcutTask menu item pressed \"New Finder Window\""),
              std::string::npos)
        << journalText();
    // TextEdit's read was kept.
    activate(sim::SimWindowServer::textEditPid);
    (void)task->run();
    EXPECT_EQ(counted.reads, 2);
    EXPECT_FALSE(manager().state().isLoading);
}

TEST_F(ViewShortcut, theSheetsKeysOnlyWhileItShowsAndReturnWithoutASelectionOnlyCloses) {
    activate(sim::SimWindowServer::textEditPid);
    (void)task->run();
    settle();
    EXPECT_TRUE(key(macKey::returnKey));
    EXPECT_FALSE(sheet->shown);
    EXPECT_EQ(journalText().find("pressed"), std::string::npos);
    // Hidden, the keys are the application's.
    EXPECT_FALSE(key(macKey::down));
    EXPECT_FALSE(key(macKey::escape));

    (void)task->run();
    EXPECT_EQ(monitors.local.registry.size(), 1u);  // replaced, not added
    EXPECT_TRUE(key(macKey::tab));
    EXPECT_FALSE(manager().state().focusSearchField);
    EXPECT_TRUE(key(macKey::deleteKey));  // back to the search field
    EXPECT_FALSE(key(macKey::deleteKey));  // which deletes
    EXPECT_FALSE(key(macKey::a));
    manager().setSearchText("  paste ");
    EXPECT_EQ(rows(), (std::vector<std::string>{"Edit → Paste  ⌘ + V",
                                                "Edit → Paste and Match Style  ⌥ + ⇧ + ⌘ + V"}));
    manager().setSearchText("form");  // by the path
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_TRUE(key(macKey::escape));
    EXPECT_FALSE(sheet->shown);
}

TEST_F(ViewShortcut, favouritesComeFirstAndRoundTripByteForByte) {
    activate(sim::SimWindowServer::textEditPid);
    (void)task->run();
    settle();
    manager().select(8);  // Bold
    manager().toggleFavorite(8);
    EXPECT_EQ(rows().front(), "★ Format → Bold  ⌘ + B");
    EXPECT_EQ(manager().state().selected, 0u);  // the selection went with it
    persistor.saveAll();
    const std::string stored = stored_();
    EXPECT_EQ(stored, R"([{"appName":"TextEdit","keyName":"Bold"}])");

    // Another run of the program reads them back and writes the same bytes.
    memory::MemoryLog otherLog;
    core::Persistor again{&records, queue, otherLog};
    core::Published<std::vector<ShortcutFavorite>> loaded;
    auto registration = again.registerPublished(ViewShortcutManager::favoritesKey, loaded);
    EXPECT_EQ(loaded.get(), (std::vector<ShortcutFavorite>{{"TextEdit", "Bold"}}));
    again.noteChanged(ViewShortcutManager::favoritesKey);
    again.saveAll();
    EXPECT_EQ(stored_(), stored);

    manager().toggleFavorite(0);
    EXPECT_TRUE(manager().favorites.get().empty());
    EXPECT_EQ(rows().front(), "File → New  ⌘ + N");
}

TEST_F(ViewShortcut, withoutTrustItAsksAndWithoutAMenuReaderItIsNotSupported) {
    activate(sim::SimWindowServer::textEditPid);
    trust.granted = false;
    (void)task->run();
    queue.drain();
    EXPECT_EQ(counted.reads, 0);
    EXPECT_TRUE(sheet == nullptr || !sheet->shown);
    EXPECT_NE(journalText().find("Accessibility"), std::string::npos) << journalText();

    services.menuAccessibility = nullptr;
    ViewShortcutTask x11(task->info(), services);
    EXPECT_EQ(x11.unavailableReason(), std::string(core::notSupportedOnThisDesktop));
    trust.granted = true;
    (void)x11.run();
    std::optional<std::string> answer;
    x11.manager().loadFrontmost([&](auto loaded) { answer = loaded ? "rows" : loaded.error().message; });
    EXPECT_EQ(answer, std::string(core::notSupportedOnThisDesktop));
    EXPECT_EQ(counted.reads, 0);
}

}  // namespace
}  // namespace quorvane::input

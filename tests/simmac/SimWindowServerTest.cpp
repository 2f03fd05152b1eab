#include <gtest/gtest.h>

#include <chrono>

#include "adapters/memory/MemoryJournal.hpp"
#include "simmac/SimDesktop.hpp"
#include "simmac/SimWindowServer.hpp"

namespace quorvane::platform::sim {
namespace {

using namespace std::chrono_literals;

struct SimWindowServerTest : ::testing::Test {
    memory::MemoryJournal journal;
    SimPasteboard pasteboard;
    bool shortcutTook = false;
    SimWindowServer desktop{4242, journal, pasteboard, [this](const std::string& combination) {
                                return shortcutTook = combination == "Ctrl+Alt+L";
                            }};

    std::string run(std::vector<std::string> words) {
        auto command = SimDesktopCommand::parse(words);
        EXPECT_TRUE(command) << (command ? "" : command.error().message);
        if (!command)
            return {};
        auto shown = desktop.perform(command.value());
        return shown ? shown.value() : "error: " + shown.error().message;
    }
    std::optional<Rect> frameOf(int number) {
        for (const auto& window : desktop.list(windowListOption::all))
            if (window.number == number)
                return window.frame;
        return std::nullopt;
    }
};

TEST_F(SimWindowServerTest, commandsAreCheckedWholeBeforeAnythingHappens) {
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"window", "add", "200", "T", "1", "2", "0", "5"},
          {"window", "add", "200", "T", "1", "inf", "5", "5"},
          {"drag", "1", "2", "3", "4", "--steps", "1001"},
          // Finite, but the points between them, and the moves, would not be.
          {"drag", "1e308", "0", "-1e308", "0", "--steps", "2"},
          {"drag", "0", "0", "5", "5", "0", "-1000001"},
          {"pointer", "1e308", "0"},
          {"display", "add", "Side", "1920by1080"},
          {"app", "hide", "-3"},
          {"click", "1", "2", "--left"},
          {"teleport"}})
        EXPECT_FALSE(SimDesktopCommand::parse(bad)) << bad[0];
    EXPECT_TRUE(SimDesktopCommand::parse(
        std::vector<std::string>{"drag", "-1000000", "0", "1000000", "0", "--steps", "2"}));
    EXPECT_EQ(run({"window", "add", "777", "T", "1", "2", "3", "4"}),
              "error: no application with pid 777");
    EXPECT_EQ(run({"app", "quit", "100"}), "error: Finder cannot be quit here");
    EXPECT_EQ(run({"display", "remove", "1"}), "error: the main display cannot be removed");
}

// The window under a point, as WindowService finds it, and what a drag on
// a title bar does.
TEST_F(SimWindowServerTest, elementsAndTitleBarDragsActAsOnAMac) {
    run({"window", "add", "200", "Notes", "100", "100", "600", "400"});
    const int notes = desktop.list(windowListOption::onScreenWindows)[2].number;

    // A toolbar button's parent is the window; a text area's is a scroll
    // area, and its window attribute names the window.
    auto button = desktop.elementAt({300, 140});
    ASSERT_TRUE(button);
    EXPECT_EQ(role(desktop, *button), "AXButton");
    EXPECT_EQ(role(desktop, *parent(desktop, *button)), "AXWindow");
    auto text = desktop.elementAt({300, 300});
    EXPECT_EQ(role(desktop, *parent(desktop, *text)), "AXScrollArea");
    auto window = attributeAs<Element>(desktop, *text, ax::window);
    EXPECT_EQ(attributeAs<std::string>(desktop, *window, ax::title), "Notes");
    // The menu bar and the desktop hold no window.
    EXPECT_FALSE(attributeAs<Element>(desktop, *desktop.elementAt({80, 10}), ax::window));
    EXPECT_FALSE(attributeAs<Element>(desktop, *desktop.elementAt({1300, 700}), ax::window));
    EXPECT_FALSE(desktop.elementAt({5000, 10}));

    run({"drag", "300", "110", "700", "300", "--steps", "7"});
    EXPECT_EQ(frameOf(notes), (Rect{{500, 290}, {600, 400}}));
    EXPECT_EQ(journal.entries().back().detail, "moved window 11 \"Notes\" of TextEdit to 500 290");
    // A drag in the content moves nothing.
    run({"drag", "600", "500", "100", "100"});
    EXPECT_EQ(frameOf(notes), (Rect{{500, 290}, {600, 400}}));

    // Sizes keep to the window's limits.
    EXPECT_TRUE(setSize(desktop, *window, Size{10, 10}));
    EXPECT_EQ(size(desktop, *window), (Size{120, 80}));
    EXPECT_FALSE(setSize(desktop, *window, std::nullopt));
}

TEST_F(SimWindowServerTest, aHungApplicationAnswersAbsentWithinTheTimeout) {
    desktop.setMessagingTimeout(50ms);
    run({"app", "hang", "200"});
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_FALSE(desktop.elementAt({400, 400}));
    EXPECT_FALSE(attributeAs<std::string>(desktop, desktop.application(200), ax::title));
    EXPECT_FALSE(desktop.performAction(desktop.application(200), ax::raise));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 2s);
    // Others still answer.
    EXPECT_EQ(attributeAs<std::string>(desktop, desktop.application(100), ax::title), "Finder");
}

TEST_F(SimWindowServerTest, keysGoToTheFrontmostApplicationAndDockItemsActivate) {
    pasteboard.setString("!");
    run({"click", "300", "300"});  // TextEdit's window
    EXPECT_EQ(desktop.frontmost()->name, "TextEdit");
    run({"type", "héllo"});
    run({"key", "Backspace"});
    run({"key", "Meta+V"});
    EXPECT_EQ(run({"text"}), "héll!\n");
    // Keys posted to one application reach it alone.
    ASSERT_TRUE(desktop.postToPid(100, {.type = EventType::keyDown, .characters = "x"}));
    EXPECT_EQ(desktop.text(100), "x");

    desktop.hide(200);
    EXPECT_EQ(desktop.list(windowListOption::onScreenWindows).size(), 2u);  // menu bar, Dock
    // TextEdit's Dock item: the second of Finder, TextEdit, us, the
    // Downloads folder and the Trash.
    run({"click", "656", "870"});
    EXPECT_EQ(desktop.frontmost()->name, "TextEdit");
    EXPECT_FALSE(desktop.frontmost()->isHidden);
}

TEST_F(SimWindowServerTest, anInputLockHoldsBackEverythingUntilItEnds) {
    run({"click", "300", "300"});
    int seen = 0;
    auto monitor = desktop.addGlobal(~EventMask{0}, [&](const InputEvent&) { ++seen; });
    EXPECT_TRUE(desktop.isMonitoring());
    std::vector<InputEvent> heard;
    auto lock = desktop.swallowAll([&](const InputEvent& event) { heard.push_back(event); }, {});
    EXPECT_EQ(desktop.swallowAll({}, {}).value(), lock.value());
    run({"type", "abc"});
    EXPECT_FALSE(desktop.key("Ctrl+Alt+L"));
    EXPECT_EQ(seen, 0);
    EXPECT_FALSE(shortcutTook);
    EXPECT_EQ(desktop.text(200), "");
    // The lock hears each key pressed, the shortcut's too, and no release.
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard.back().keyCode, 37);
    EXPECT_EQ(heard.back().modifierFlags & (modifier::control | modifier::option),
              modifier::control | modifier::option);
    desktop.uninstall(lock.value());
    run({"type", "abc"});
    EXPECT_EQ(seen, 6);
    desktop.remove(monitor.value());
    EXPECT_FALSE(desktop.isMonitoring());
}

}  // namespace
}  // namespace quorvane::platform::sim

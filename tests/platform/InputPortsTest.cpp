#include <gtest/gtest.h>

#include "platform/Geometry.hpp"
#include "platform/MacKeyCodes.hpp"
#include "platform/MonitorRegistry.hpp"

namespace quorvane::platform {
namespace {

TEST(Geometry, theFlipTurnsAboutThePrimaryScreenAndIsItsOwnInverse) {
    const std::vector<Screen> screens{
        {"1", "primary", {{0, 0}, {1440, 900}}, {}},
        // Above the primary, and one to its left.
        {"2", "above", {{0, 900}, {1920, 1080}}, {}},
        {"3", "left", {{-1280, 0}, {1280, 800}}, {}}};
    const Rect window{{100, 50}, {300, 200}};
    EXPECT_EQ(flipped(window, screens), (Rect{{100, 650}, {300, 200}}));
    EXPECT_EQ(flipped(flipped(window, screens), screens), window);
    EXPECT_EQ(flipped(Point{10, 10}, screens), (Point{10, 890}));
    // The screen above starts at a negative accessibility y, the one to the
    // left at a negative x.
    EXPECT_EQ(flipped(screens[1].frame, screens).origin, (Point{0, -1080}));
    EXPECT_EQ(flipped(screens[2].frame, screens).origin, (Point{-1280, 100}));
    // With no screens, values pass through.
    EXPECT_EQ(flipped(window, {}), window);
}

TEST(MonitorRegistry, handlersMayAddAndRemoveMonitorsWhileEventsAreDispatched) {
    std::vector<bool> activity;
    MonitorRegistry registry([&](bool active) { activity.push_back(active); });
    std::vector<std::string> calls;
    MonitorRegistry::Token second = 0;
    MonitorRegistry::Token third = 0;
    MonitorRegistry::Token added = 0;
    MonitorRegistry::Token first = registry.add(eventMask::leftMouseUp, [&](const InputEvent&) {
        calls.push_back("first");
        registry.remove(first);   // itself
        registry.remove(second);  // and the next one, not yet called
        added = registry.add(eventMask::leftMouseUp, [&](const InputEvent&) {
            calls.push_back("added");
            return false;
        });
        return false;
    });
    second = registry.add(eventMask::leftMouseUp, [&](const InputEvent&) {
        calls.push_back("second");
        return false;
    });
    third = registry.add(eventMask::keyDown, [&](const InputEvent&) {
        calls.push_back("keys");
        return true;
    });
    EXPECT_EQ(activity, std::vector<bool>{true});

    registry.dispatch({.type = EventType::leftMouseUp});
    EXPECT_EQ(calls, std::vector<std::string>{"first"});
    registry.dispatch({.type = EventType::leftMouseUp});
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "added"}));
    EXPECT_TRUE(registry.dispatch({.type = EventType::keyDown}));
    EXPECT_EQ(registry.combinedMask(), eventMask::leftMouseUp | eventMask::keyDown);

    // The source goes with the last monitor, and comes back with the next.
    registry.remove(third);
    registry.remove(third);
    EXPECT_EQ(activity, std::vector<bool>{true});
    registry.remove(added);
    EXPECT_EQ(activity, (std::vector<bool>{true, false}));
    EXPECT_FALSE(registry.dispatch({.type = EventType::keyDown}));
    registry.add(eventMask::keyDown, [](const InputEvent&) { return false; });
    EXPECT_EQ(activity, (std::vector<bool>{true, false, true}));
}

TEST(MacKeyCodes, keysKeepTheirMacPositionsWhateverTheHost) {
    EXPECT_EQ(macKeyCodeForName("A"), 0);
    EXPECT_EQ(macKeyCodeForName("s"), 1);
    EXPECT_EQ(macKeyCodeForName("Return"), 36);
    EXPECT_EQ(macKeyCodeForName("F5"), 96);
    EXPECT_FALSE(macKeyCodeForName("Hyper"));
    // X11 key codes by position: Escape, Q, A, Z, space, Super, arrows.
    EXPECT_EQ(macKeyCodeForX11(9), macKey::escape);
    EXPECT_EQ(macKeyCodeForX11(24), 12);
    EXPECT_EQ(macKeyCodeForX11(38), macKey::a);
    EXPECT_EQ(macKeyCodeForX11(52), 6);
    EXPECT_EQ(macKeyCodeForX11(65), macKey::space);
    EXPECT_EQ(macKeyCodeForX11(133), macKey::command);
    EXPECT_EQ(macKeyCodeForX11(113), macKey::left);
    EXPECT_FALSE(macKeyCodeForX11(255));
    EXPECT_EQ(modifierFlagOfKey(macKey::rightOption), modifier::option);
    EXPECT_EQ(macKeyForCharacter('?')->code, 44);
    EXPECT_TRUE(macKeyForCharacter('?')->shift);
}

}  // namespace
}  // namespace quorvane::platform

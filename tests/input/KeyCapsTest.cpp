#include <gtest/gtest.h>

#include <xkbcommon/xkbcommon.h>

#include "input/keystrokes/KeyCaps.hpp"
#include "platform/MacKeyCodes.hpp"
#include "simmac/UsKeyboardLayout.hpp"
#include "adapters/x11/XkbKeyboardLayout.hpp"

namespace quorvane::input {
namespace {

using platform::EventType;
using platform::InputEvent;
namespace modifier = platform::modifier;
namespace macKey = platform::macKey;

std::string capsText(const KeyCaps& caps) {
    std::string text;
    for (const auto& cap : caps) {
        if (!text.empty())
            text += " ";
        text += "[" + cap.title + "|" + cap.subtitle + "|" + std::to_string(cap.widthScale) + "]";
    }
    return text;
}

struct Case {
    const char* what;
    InputEvent event;
    const char* caps;
};

TEST(KeyCaps, eachEventGivesItsModifiersInTableOrderThenItsKey) {
    const platform::sim::UsKeyboardLayout us;
    const Case cases[] = {
        {"⌘ held", {.type = EventType::flagsChanged, .keyCode = macKey::command,
                    .modifierFlags = modifier::command}, "[⌘|command|1]"},
        // The layout's character, not the shifted one the event carries.
        {"⌘⇧K", {.type = EventType::keyDown, .keyCode = 40, .charactersIgnoringModifiers = "K",
                 .modifierFlags = modifier::shift | modifier::command},
         "[⌘|command|1] [⇧|shift|1] [k||1]"},
        {"every modifier in table order",
         {.type = EventType::flagsChanged,
          .keyCode = macKey::function,
          .modifierFlags = modifier::function | modifier::capsLock | modifier::shift |
                           modifier::option | modifier::control | modifier::command},
         "[⌘|command|1] [⌃|control|1] [⌥|option|1] [⇧|shift|1] [⇪|caps|1] [|fn|1]"},
        {"arrows carry fn and never show it",
         {.type = EventType::keyDown, .keyCode = macKey::up, .modifierFlags = modifier::function},
         "[↑||1]"},
        {"fn off the arrows", {.type = EventType::keyDown, .keyCode = macKey::deleteKey,
                               .modifierFlags = modifier::function}, "[|fn|1] [⌫||1]"},
        {"space", {.type = EventType::keyDown, .keyCode = macKey::space,
                   .charactersIgnoringModifiers = " "}, "[||4]"},
        {"tab", {.type = EventType::keyDown, .keyCode = macKey::tab}, "[⇥|tab|2]"},
        {"caps lock key", {.type = EventType::keyDown, .keyCode = macKey::capsLock}, "[⇪|caps lock|2]"},
        {"return", {.type = EventType::keyDown, .keyCode = macKey::returnKey}, "[↩|return|1]"},
        // A character without a key of its own: whole, not its first byte.
        {"é", {.type = EventType::keyDown, .keyCode = macKey::noKey,
               .charactersIgnoringModifiers = "é"}, "[é||1]"},
        {"a key up shows only what is held",
         {.type = EventType::keyUp, .keyCode = 40, .charactersIgnoringModifiers = "k",
          .modifierFlags = modifier::command}, "[⌘|command|1]"},
        {"a key with no character", {.type = EventType::keyDown, .keyCode = 122}, ""},
    };
    KeyCaps caps;
    for (const auto& one : cases) {
        capsOf(one.event, &us, caps);
        EXPECT_EQ(capsText(caps), one.caps) << one.what;
        EXPECT_LE(caps.size(), KeyCaps::capacity);
    }
    // Without a layout the event's own character stands.
    capsOf({.type = EventType::keyDown, .keyCode = 40, .charactersIgnoringModifiers = "K"}, nullptr,
           caps);
    EXPECT_EQ(capsText(caps), "[K||1]");

    capsOf({.type = EventType::keyDown, .keyCode = 40, .charactersIgnoringModifiers = "k",
            .modifierFlags = modifier::command | modifier::shift},
           &us, caps);
    caps.keepModifiers();
    EXPECT_EQ(capsText(caps), "[⌘|command|1] [⇧|shift|1]");
}

TEST(KeyCaps, anXkbLayoutLabelsKeysAsItsOwnCapsRead) {
    auto* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    ASSERT_NE(context, nullptr);
    const xkb_rule_names names{.rules = nullptr, .model = "pc105", .layout = "us,fr",
                               .variant = nullptr, .options = nullptr};
    auto* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    ASSERT_NE(keymap, nullptr) << "needs xkb-data";
    const auto us = platform::x11::XkbKeyboardLayout::tableFor(keymap, 0);
    const auto french = platform::x11::XkbKeyboardLayout::tableFor(keymap, 1);
    constexpr std::uint16_t qKey = 12;
    constexpr std::uint16_t oneKey = 18;
    EXPECT_EQ(us[qKey], "q");
    EXPECT_EQ(french[qKey], "a");  // AZERTY
    EXPECT_EQ(us[oneKey], "1");
    EXPECT_EQ(french[oneKey], "&");
    EXPECT_EQ(us[macKey::returnKey], "");  // a control code is no caption
    EXPECT_EQ(us[macKey::left], "");

    // The same keys through the caps: the French group's "a" on the US "q".
    struct Table final : platform::KeyboardLayout {
        const platform::x11::XkbKeyboardLayout::Table* table;
        std::string_view baseCharacter(std::uint16_t code) const override { return (*table)[code]; }
    } layout;
    layout.table = &french;
    KeyCaps caps;
    capsOf({.type = EventType::keyDown, .keyCode = qKey, .charactersIgnoringModifiers = "A",
            .modifierFlags = modifier::shift},
           &layout, caps);
    EXPECT_EQ(capsText(caps), "[⇧|shift|1] [a||1]");
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
}

}  // namespace
}  // namespace quorvane::input

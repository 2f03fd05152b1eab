#include <gtest/gtest.h>

#include <chrono>

#include "core/CanToggle.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "input/InputTweaks.hpp"
#include "input/KeyboardTweakFixture.hpp"
#include "input/keystrokes/VisualizeKeystrokeTask.hpp"
#include "platform/MacKeyCodes.hpp"

namespace quorvane::input {
namespace {

using namespace platform;
using namespace std::chrono_literals;

class VisualizeKeystroke : public testing::KeyboardTweakFixture {
  protected:
    std::shared_ptr<VisualizeKeystrokeTask> task = [this] {
        core::TweakFactory factory;
        addInputTweaks(factory, services, mouse);
        for (const auto& row : core::builtinCatalogue())
            if (row.info.id == "VisualizeKeystrokeTask")
                return std::static_pointer_cast<VisualizeKeystrokeTask>((*factory.find(row.info.id))(row));
        return std::shared_ptr<VisualizeKeystrokeTask>();
    }();

    void switchTo(bool on) {
        core::switchAndApply(*task, on, true);
        queue.drain();
    }
    void flags(std::uint64_t held) {
        monitors.global.registry.dispatch({.type = EventType::flagsChanged, .modifierFlags = held});
    }
    void key(std::uint16_t code, std::string typed, std::uint64_t held = 0) {
        InputEvent down{.type = EventType::keyDown, .keyCode = code, .characters = typed,
                        .charactersIgnoringModifiers = typed, .modifierFlags = held};
        monitors.global.registry.dispatch(down);
        down.type = EventType::keyUp;
        monitors.global.registry.dispatch(down);
    }
    // The strip as shown: its caps' titles, or "hidden".
    std::string strip() {
        for (const auto& [id, description] : overlays.shown()) {
            if (description.owner != "VisualizeKeystrokeTask")
                continue;
            if (description.hidden)
                return "hidden";
            std::string titles;
            for (const auto& cap : description.keyCaps)
                titles += (titles.empty() ? "" : " ") + (cap.title.empty() ? cap.subtitle : cap.title);
            return titles;
        }
        return "hidden";
    }
};

TEST_F(VisualizeKeystroke, modifiersShowWhileHeldAndKeysForASecondAfterTheLast) {
    switchTo(true);
    ASSERT_EQ(monitors.global.registry.size(), 1u);
    ASSERT_EQ(monitors.local.registry.size(), 1u);

    flags(modifier::command);
    EXPECT_EQ(strip(), "⌘");
    flags(0);  // let go: gone at once
    EXPECT_EQ(strip(), "hidden");

    flags(modifier::command);
    flags(modifier::command | modifier::shift);
    key(40, "K", modifier::command | modifier::shift);
    EXPECT_EQ(strip(), "⌘ ⇧ k");
    EXPECT_TRUE(task->manager().bundle().isPressed);
    queue.advance(250ms);
    EXPECT_FALSE(task->manager().bundle().isPressed);

    // Typing on keeps the strip; it goes a second after the last key.
    flags(0);
    for (const char* letter : {"h", "e", "l"}) {
        key(macKeyForCharacter(letter[0])->code, letter);
        queue.advance(500ms);
        EXPECT_EQ(strip(), letter);
    }
    queue.advance(499ms);
    EXPECT_EQ(strip(), "l");
    queue.advance(2ms);
    EXPECT_EQ(strip(), "hidden");
    EXPECT_TRUE(task->manager().bundle().keys.empty());

    // Our own windows' keys show too, and go on to them.
    bool passed = !monitors.local.registry.dispatch({.type = EventType::keyDown, .keyCode = 0,
                                            .charactersIgnoringModifiers = "a"});
    EXPECT_TRUE(passed);
    EXPECT_EQ(strip(), "a");

    switchTo(false);
    EXPECT_EQ(monitors.global.registry.size(), 0u);
    EXPECT_EQ(monitors.local.registry.size(), 0u);
    EXPECT_EQ(strip(), "hidden");
    // The monitor's start and stop are journaled by event types; the keys
    // typed never are.
    EXPECT_EQ(journal.lines(),
              (std::vector<std::string>{
                  "VisualizeKeystrokeTask input input monitoring started: key down, flags changed",
                  "VisualizeKeystrokeTask input input monitoring stopped: key down, flags "
                  "changed"}));
    // Nothing left to fire: on again, a key shows and stays its second.
    switchTo(true);
    key(0, "a");
    queue.advance(900ms);
    EXPECT_EQ(strip(), "a");
    // One window for the life of the tweak.
    EXPECT_EQ(overlays.shown().size(), 1u);
}

TEST_F(VisualizeKeystroke, theStripSpansTheScreenUnderThePointer) {
    switchTo(true);
    key(0, "a");
    const auto first = overlays.shown().front().second;
    EXPECT_EQ(first.frame, (Rect{{0, 120}, {1440, 200}}));
    EXPECT_EQ(first.level, overlayLevel::display);
    EXPECT_TRUE(first.passesInput);
    EXPECT_EQ(first.content, OverlayDescription::Content::keyCaps);

    monitors.global.pointer = {100, 1500};  // on the screen above
    key(0, "a");
    EXPECT_EQ(overlays.shown().front().second.frame, (Rect{{-200, 1020}, {1920, 200}}));
    monitors.global.pointer = {5000, 5000};  // on none: where it was
    key(0, "a");
    EXPECT_EQ(overlays.shown().front().second.frame, (Rect{{-200, 1020}, {1920, 200}}));
}

TEST_F(VisualizeKeystroke, modifierKeysOnlyAndTheGate) {
    auto form = task->configureView();
    ASSERT_EQ(form.sections.size(), 1u);
    form.sections[0].controls[0].value->write(DefaultsValue{true});
    EXPECT_EQ(defaults.boolValue("VisualizeKeystrokeTask.Manager.showsModifierKeysOnly"), true);
    switchTo(true);
    key(0, "a");
    EXPECT_EQ(strip(), "hidden");
    key(0, "a", modifier::control);
    EXPECT_EQ(strip(), "⌃");

    // Without Accessibility: off, asked, nothing watched.
    switchTo(false);
    trust.granted = false;
    switchTo(true);
    EXPECT_FALSE(task->isOn());
    EXPECT_EQ(monitors.global.registry.size(), 0u);
}

}  // namespace
}  // namespace quorvane::input

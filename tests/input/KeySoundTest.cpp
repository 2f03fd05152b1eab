#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/CanToggle.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "input/InputTweaks.hpp"
#include "input/KeyboardTweakFixture.hpp"
#include "input/keysound/MechanicalKeyboardTask.hpp"

namespace quorvane::input {
namespace {

using namespace platform;
using namespace std::chrono_literals;

// The clicks asked for, and on which thread the sound was readied.
struct ClickRecorder final : Sound {
    std::atomic<int> prepared{0};
    std::atomic<bool> preparedOnMain{false};
    std::thread::id mainThread = std::this_thread::get_id();
    std::vector<Variation> clicks;
    bool play(std::string_view) override { return true; }
    bool prepareClicks(std::string_view name) override {
        preparedOnMain = std::this_thread::get_id() == mainThread;
        ++prepared;
        return name == "keyDown";
    }
    bool play(std::string_view name, Variation variation) override {
        if (name != "keyDown")
            return false;
        clicks.push_back(variation);
        return true;
    }
};

class MechanicalKeyboard : public testing::KeyboardTweakFixture {
  protected:
    ClickRecorder sound;
    std::shared_ptr<MechanicalKeyboardTask> task = [this] {
        services.sound = &sound;
        core::TweakFactory factory;
        addInputTweaks(factory, services, mouse);
        for (const auto& row : core::builtinCatalogue())
            if (row.info.id == "MechanicalKeyboardTask")
                return std::static_pointer_cast<MechanicalKeyboardTask>((*factory.find(row.info.id))(row));
        return std::shared_ptr<MechanicalKeyboardTask>();
    }();

    void switchTo(bool on) {
        core::switchAndApply(*task, on, true);
        queue.drain();
    }
    void type(EventType type, std::uint16_t code = 4) {
        monitors.global.registry.dispatch({.type = type, .keyCode = code});
    }
};

TEST(KeyClickVariation, spansTheRangeFromTwentyFourBits) {
    const auto low = MechanicalKeyboardManager::variationOf(0, 0);
    const auto high = MechanicalKeyboardManager::variationOf(0xFFFFFF, 0xFFFFFF);
    EXPECT_FLOAT_EQ(low.rate, 0.9f);
    EXPECT_FLOAT_EQ(low.volume, 0.95f);
    EXPECT_LT(high.rate, 1.1f);
    EXPECT_GT(high.rate, 1.0999f);
    EXPECT_LE(high.volume, 1.0f);
    // Only 24 bits count.
    const auto wide = MechanicalKeyboardManager::variationOf(0xFF000000u, 0xFF800000u);
    EXPECT_FLOAT_EQ(wide.rate, 0.9f);
    EXPECT_FLOAT_EQ(wide.volume, 0.975f);
}

TEST_F(MechanicalKeyboard, clicksForEveryKeyDownAndUpReadiedOffTheMainThreadAtSwitchOn) {
    EXPECT_EQ(sound.prepared, 0);  // nothing loads while off
    switchTo(true);
    for (int i = 0; i < 500 && sound.prepared == 0; ++i)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(sound.prepared, 1);
    EXPECT_FALSE(sound.preparedOnMain);

    type(EventType::keyDown);
    type(EventType::keyDown);  // a repeat clicks too
    type(EventType::keyUp);
    type(EventType::flagsChanged, 56);
    ASSERT_EQ(sound.clicks.size(), 3u);
    // Typed into our own window: heard as well, and passed on.
    EXPECT_FALSE(monitors.local.registry.dispatch({.type = EventType::keyDown, .keyCode = 4}));
    EXPECT_EQ(sound.clicks.size(), 4u);
    for (const auto& click : sound.clicks) {
        EXPECT_GE(click.rate, 0.9f);
        EXPECT_LT(click.rate, 1.1f);
        EXPECT_GE(click.volume, 0.95f);
        EXPECT_LE(click.volume, 1.0f);
    }
    EXPECT_NE(sound.clicks[0].rate, sound.clicks[1].rate);

    // One counted line a second; never the keys.
    queue.advance(1s);
    ASSERT_FALSE(journal.lines().empty());
    EXPECT_EQ(journal.lines().back(), "MechanicalKeyboardTask sound played 4 key clicks");

    switchTo(false);
    EXPECT_EQ(monitors.global.registry.size(), 0u);
    EXPECT_EQ(monitors.local.registry.size(), 0u);
    type(EventType::keyDown);
    EXPECT_EQ(sound.clicks.size(), 4u);

    // Watching every key typed anywhere is journaled at its start and its
    // stop, by event types.
    const auto lines = journal.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "MechanicalKeyboardTask input input monitoring started: key down, key up"),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "MechanicalKeyboardTask input input monitoring stopped: key down, key up"),
              1);
}

}  // namespace
}  // namespace quorvane::input

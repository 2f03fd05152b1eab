#include <gtest/gtest.h>

#include <algorithm>

#include "input/mouse/ScrollInterceptor.hpp"
#include "input/mouse/ScrollReversal.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "simmac/SimDesktopCommand.hpp"
#include "simmac/SimPasteboard.hpp"
#include "simmac/SimWindowServer.hpp"

namespace quorvane::input {
namespace {

using namespace platform;

InputEvent wheel(std::int64_t y, std::int64_t x = 0) {
    return {.type = EventType::scrollWheel, .scrollLinesY = y, .scrollLinesX = x,
            .scrollingDeltaY = static_cast<double>(y) * 10, .scrollingDeltaX = static_cast<double>(x) * 10};
}

TEST(ReversedScroll, TurnsOnlyAWheelsLineDeltasOnTheAxesAsked) {
    struct Row {
        InputEvent event;
        bool vertical, horizontal;
        std::optional<std::pair<std::int64_t, std::int64_t>> lines;  // none: passes
    };
    InputEvent trackpad = wheel(-2);
    trackpad.scrollPhase = scrollPhase::changed;
    InputEvent momentum = wheel(-2);
    momentum.momentumPhase = scrollPhase::began;
    InputEvent counted = wheel(-2);
    counted.scrollCount = 1;
    const Row rows[] = {
        {wheel(-3, 1), true, false, {{3, 1}}},
        {wheel(-3, 1), false, true, {{-3, -1}}},
        {wheel(-3, 1), true, true, {{3, -1}}},
        {wheel(-3, 1), false, false, std::nullopt},
        {trackpad, true, true, std::nullopt},
        {momentum, true, true, std::nullopt},
        {counted, true, true, std::nullopt},
        {{.type = EventType::leftMouseDown}, true, true, std::nullopt},
    };
    for (const auto& row : rows) {
        const auto answer = reversedScroll(row.event, row.vertical, row.horizontal);
        if (!row.lines) {
            EXPECT_EQ(answer.kind, TapAnswer::Kind::pass);
            continue;
        }
        ASSERT_EQ(answer.kind, TapAnswer::Kind::replace);
        EXPECT_EQ(answer.replacement.scrollLinesY, row.lines->first);
        EXPECT_EQ(answer.replacement.scrollLinesX, row.lines->second);
        // The point deltas are left as they came.
        EXPECT_EQ(answer.replacement.scrollingDeltaY, row.event.scrollingDeltaY);
    }
}

TEST(TapScrollInterceptor, TurnsTheSimulatedWheelLeavesTheTrackpadAndOutlivesATimeout) {
    memory::MemoryJournal journal;
    memory::MemoryLog log;
    sim::SimPasteboard pasteboard;
    sim::SimWindowServer desktop{4242, journal, pasteboard};
    std::vector<InputEvent> seen;
    auto watching = desktop.addGlobal(eventMask::scrollWheel, [&](const InputEvent& event) { seen.push_back(event); });
    auto run = [&](std::vector<std::string> words) {
        ASSERT_TRUE(desktop.perform(sim::SimDesktopCommand::parse(words).value()));
    };
    TapScrollInterceptor reverser(desktop, journal, log);
    ASSERT_TRUE(reverser.start(true, false));
    // The tap is journaled, once however often the switch is applied.
    ASSERT_TRUE(reverser.start(true, true));
    ASSERT_TRUE(reverser.start(true, false));
    auto journaled = [&](const std::string& line) {
        const auto lines = journal.lines();
        return std::count(lines.begin(), lines.end(), line);
    };
    EXPECT_EQ(journaled("ReverseScrollTask input event tap started: scroll wheel"), 1);
    run({"scroll", "-3"});
    run({"scroll", "-2", "--trackpad"});
    ASSERT_EQ(seen.size(), 5u);  // one notch, three phases and a momentum event
    EXPECT_EQ(seen[0].scrollLinesY, 3);
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].scrollLinesY, -2);

    run({"tap-timeout"});
    run({"scroll", "-3"});
    EXPECT_EQ(seen.back().scrollLinesY, 3);
    reverser.stop();
    run({"scroll", "-3"});
    EXPECT_EQ(seen.back().scrollLinesY, -3);
    EXPECT_EQ(journaled("ReverseScrollTask input event tap stopped"), 1);
    for (const auto& entry : journal.entries()) {
        if (entry.cause == "ReverseScrollTask") {
            EXPECT_EQ(entry.weight, JournalWeight::input) << entry.detail;
        }
    }
}

// Devices as an X server with libinput lists them; writes change them.
struct RecordedDevices final : PointerDevices {
    std::vector<PointerDevice> list{
        {.id = 9, .name = "Logitech USB Optical Mouse", .naturalScrolling = false},
        {.id = 11, .name = "SYNA3602:00 Touchpad", .isTouchpad = true, .naturalScrolling = true},
        {.id = 12, .name = "Natural Ergonomic Mouse", .naturalScrolling = true},
        {.id = 4, .name = "Virtual core XTEST pointer", .naturalScrolling = std::nullopt},
    };
    std::vector<NaturalScrollingWrite> writes;
    std::function<void()> changed;

    std::vector<PointerDevice> devices() override { return list; }
    Status setNaturalScrolling(int id, bool on) override {
        writes.push_back({id, on});
        for (auto& device : list)
            if (device.id == id)
                device.naturalScrolling = on;
        return success();
    }
    void onDevicesChanged(std::function<void()> observer) override { changed = std::move(observer); }
    std::optional<bool> natural(int id) const {
        for (const auto& device : list)
            if (device.id == id)
                return device.naturalScrolling;
        return std::nullopt;
    }
};

class DeviceScrollReversal : public ::testing::Test {
  protected:
    RecordedDevices devices;
    memory::MemoryBlobStore store;
    memory::MemoryJournal journal;
    memory::MemoryLog log;
    std::optional<NaturalScrollingOriginals> kept() {
        auto loaded = store.load(DeviceScrollInterceptor::originalsKey);
        if (!loaded || !loaded.value())
            return std::nullopt;
        return decodeOriginals(*loaded.value());
    }
};

TEST_F(DeviceScrollReversal, FlipsEveryMouseFromItsOriginalFollowsNewOnesAndPutsThemBack) {
    DeviceScrollInterceptor reverser(devices, &store, journal, log);
    ASSERT_TRUE(reverser.start(true, false));
    EXPECT_EQ(devices.natural(9), true);
    EXPECT_EQ(devices.natural(12), false);  // a natural mouse becomes classic
    EXPECT_EQ(devices.natural(11), true);   // the touchpad is left alone
    // The originals were kept before the first change.
    EXPECT_EQ(kept(), (NaturalScrollingOriginals{{"Logitech USB Optical Mouse", false},
                                                 {"Natural Ergonomic Mouse", true}}));
    // Each device's change is journaled, the touchpad left alone is not.
    EXPECT_EQ(journal.lines(),
              (std::vector<std::string>{
                  "ReverseScrollTask pointer device natural scrolling on for "
                  "\"Logitech USB Optical Mouse\"",
                  "ReverseScrollTask pointer device natural scrolling off for "
                  "\"Natural Ergonomic Mouse\""}));

    // A mouse plugged in later, and one plugged in again under a new id.
    devices.list.push_back({.id = 14, .name = "Trackball", .naturalScrolling = false});
    devices.list[0] = {.id = 15, .name = "Logitech USB Optical Mouse", .naturalScrolling = false};
    devices.changed();
    EXPECT_EQ(devices.natural(14), true);
    EXPECT_EQ(devices.natural(15), true);
    // Nothing is written twice.
    const auto writes = devices.writes.size();
    devices.changed();
    EXPECT_EQ(devices.writes.size(), writes);

    reverser.stop();
    EXPECT_EQ(devices.natural(15), false);
    EXPECT_EQ(devices.natural(12), true);
    EXPECT_EQ(devices.natural(14), false);
    EXPECT_FALSE(kept());
    EXPECT_EQ(journal.lines().size(), devices.writes.size());
}

TEST_F(DeviceScrollReversal, AfterAKillTheKeptOriginalsAreRestoredAndNeverFlippedTwice) {
    // What a killed instance leaves: its originals kept, its flips in place.
    const auto leftovers = encodeOriginals({{"Logitech USB Optical Mouse", false},
                                            {"Natural Ergonomic Mouse", true}});
    auto killed = [&] {
        ASSERT_TRUE(store.save(DeviceScrollInterceptor::originalsKey, leftovers));
        ASSERT_TRUE(devices.setNaturalScrolling(9, true));
        ASSERT_TRUE(devices.setNaturalScrolling(12, false));
    };

    // The launch re-apply of a persisted switch: the kept originals stand.
    killed();
    DeviceScrollInterceptor relaunched(devices, &store, journal, log);
    ASSERT_TRUE(relaunched.start(true, false));
    EXPECT_EQ(devices.natural(9), true);
    EXPECT_EQ(devices.natural(12), false);
    relaunched.stop();
    EXPECT_EQ(devices.natural(9), false);
    EXPECT_EQ(devices.natural(12), true);

    // Or at start-up, before any re-apply.
    killed();
    DeviceScrollInterceptor started(devices, &store, journal, log);
    started.restoreLeftovers();
    EXPECT_EQ(devices.natural(9), false);
    EXPECT_EQ(devices.natural(12), true);
    EXPECT_FALSE(kept());
    // A record that is not one is left for a person to read, and nothing moves.
    ASSERT_TRUE(store.save(DeviceScrollInterceptor::originalsKey, "{\"x\": 3}"));
    started.restoreLeftovers();
    EXPECT_EQ(devices.natural(9), false);
}

TEST_F(DeviceScrollReversal, HorizontalOnlyOrNoMouseIsRefusedAndWritesNothing) {
    DeviceScrollInterceptor reverser(devices, &store, journal, log);
    EXPECT_FALSE(reverser.start(false, true));
    devices.list = {{.id = 4, .name = "Virtual core XTEST pointer", .naturalScrolling = std::nullopt},
                    {.id = 11, .name = "Touchpad", .isTouchpad = true, .naturalScrolling = true}};
    const auto refused = reverser.start(true, false);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("no mouse"), std::string::npos);
    EXPECT_FALSE(reverser.isRunning());
    EXPECT_TRUE(devices.writes.empty());
    EXPECT_FALSE(kept());
}

// A driver may name a device in bytes that are not UTF-8: what is kept is
// still written and read back, never an exception.
TEST(NaturalScrollingOriginals, aNameThatIsNotTextIsKeptReplaced) {
    const auto kept = encodeOriginals({{"Mouse \xff\xfe", true}, {"Trackball", false}});
    const auto read = decodeOriginals(kept);
    ASSERT_TRUE(read.has_value()) << kept;
    EXPECT_EQ(read->size(), 2u);
    EXPECT_EQ(read->at("Trackball"), false);
}

}  // namespace
}  // namespace quorvane::input

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/MacKeyCodes.hpp"
#include "adapters/x11/RecordDecoder.hpp"

namespace quorvane::platform::x11 {
namespace {

// A core device event as RECORD hands it over.
std::array<std::uint8_t, 32> recorded(std::uint8_t type, std::uint8_t detail, std::int16_t x = 0,
                                      std::int16_t y = 0) {
    std::array<std::uint8_t, 32> bytes{};
    bytes[0] = type;
    bytes[1] = detail;
    std::memcpy(bytes.data() + 20, &x, 2);
    std::memcpy(bytes.data() + 22, &y, 2);
    return bytes;
}

constexpr std::uint8_t keyPress = 2, keyRelease = 3, buttonPress = 4, buttonRelease = 5,
                       motion = 6;
constexpr std::uint8_t superKey = 133, altKey = 64, vKey = 55;

TEST(RecordDecoder, keysCarryTheMacsCodesFlagsAfterTheChangeAndRepeats) {
    RecordDecoder decoder([](std::uint8_t keycode, bool pressed, std::string& text, std::string&) {
        if (pressed && keycode == vKey)
            text = "v";
    });
    InputEvent event;
    ASSERT_TRUE(decoder.decode(recorded(keyPress, superKey), event));
    EXPECT_EQ(event.type, EventType::flagsChanged);
    EXPECT_EQ(event.keyCode, macKey::command);
    EXPECT_EQ(event.modifierFlags, modifier::command);  // after the press, not before
    ASSERT_TRUE(decoder.decode(recorded(keyPress, altKey), event));
    EXPECT_EQ(event.modifierFlags, modifier::command | modifier::option);

    ASSERT_TRUE(decoder.decode(recorded(keyPress, vKey), event));
    EXPECT_EQ(event.type, EventType::keyDown);
    EXPECT_EQ(event.keyCode, macKey::v);
    EXPECT_EQ(event.characters, "v");
    EXPECT_FALSE(event.isARepeat);
    // Auto-repeat: another press without a release.
    ASSERT_TRUE(decoder.decode(recorded(keyPress, vKey), event));
    EXPECT_TRUE(event.isARepeat);
    ASSERT_TRUE(decoder.decode(recorded(keyRelease, vKey), event));
    EXPECT_EQ(event.type, EventType::keyUp);
    EXPECT_TRUE(event.characters.empty());

    ASSERT_TRUE(decoder.decode(recorded(keyRelease, superKey), event));
    EXPECT_EQ(event.modifierFlags, modifier::option);
}

TEST(RecordDecoder, pointerEventsAreInCocoaSpaceAndOurWarpIsDropped) {
    RecordDecoder decoder;
    // The primary screen sits at (100, 50) in the root window.
    decoder.setPrimary({{100, 50}, {1440, 900}});
    InputEvent event;
    ASSERT_TRUE(decoder.decode(recorded(motion, 0, 110, 60), event));
    EXPECT_EQ(event.type, EventType::mouseMoved);
    EXPECT_EQ(event.location, (Point{10, 890}));

    ASSERT_TRUE(decoder.decode(recorded(buttonPress, 1, 110, 60), event));
    EXPECT_EQ(event.type, EventType::leftMouseDown);
    ASSERT_TRUE(decoder.decode(recorded(motion, 0, 130, 70), event));
    EXPECT_EQ(event.type, EventType::leftMouseDragged);
    EXPECT_EQ(event.deltaX, 20);
    ASSERT_TRUE(decoder.decode(recorded(buttonRelease, 1, 130, 70), event));
    EXPECT_EQ(event.type, EventType::leftMouseUp);
    ASSERT_TRUE(decoder.decode(recorded(buttonPress, 3), event));
    EXPECT_EQ(event.type, EventType::rightMouseDown);
    EXPECT_EQ(event.buttonNumber, 1);

    // Buttons 4 to 7 scroll, one line a notch; their releases are nothing.
    ASSERT_TRUE(decoder.decode(recorded(buttonPress, 4), event));
    EXPECT_EQ(event.type, EventType::scrollWheel);
    EXPECT_EQ(event.scrollLinesY, 1);
    EXPECT_EQ(event.scrollPhase, scrollPhase::none);
    EXPECT_FALSE(decoder.decode(recorded(buttonRelease, 4), event));
    ASSERT_TRUE(decoder.decode(recorded(buttonPress, 7), event));
    EXPECT_EQ(event.scrollLinesX, -1);

    decoder.expectWarpTo(500, 500);
    EXPECT_FALSE(decoder.decode(recorded(motion, 0, 500, 500), event));
    EXPECT_TRUE(decoder.decode(recorded(motion, 0, 500, 500), event));  // only once
    EXPECT_FALSE(decoder.decode(recorded(11, 0), event));  // not a device event
}

}  // namespace
}  // namespace quorvane::platform::x11

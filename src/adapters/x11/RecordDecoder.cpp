#include "adapters/x11/RecordDecoder.hpp"

#include <cstring>

#include "platform/MacKeyCodes.hpp"

namespace quorvane::platform::x11 {

namespace {

// Core event codes.
constexpr std::uint8_t keyPress = 2;
constexpr std::uint8_t keyRelease = 3;
constexpr std::uint8_t buttonPress = 4;
constexpr std::uint8_t buttonRelease = 5;
constexpr std::uint8_t motionNotify = 6;

std::int16_t int16At(std::span<const std::uint8_t, 32> bytes, std::size_t offset) {
    std::int16_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);  // the server's byte order is ours
    return value;
}

EventType pressType(int button, bool down) {
    if (button == 1)
        return down ? EventType::leftMouseDown : EventType::leftMouseUp;
    if (button == 3)
        return down ? EventType::rightMouseDown : EventType::rightMouseUp;
    return down ? EventType::otherMouseDown : EventType::otherMouseUp;
}

// X11 numbers buttons 1 left, 2 middle, 3 right; the Mac 0 left, 1 right,
// 2 middle.
int macButton(int button) {
    return button == 1 ? 0 : button == 3 ? 1 : button == 2 ? 2 : button - 5;
}

}  // namespace

bool RecordDecoder::isPlainKeyRelease(std::span<const std::uint8_t, 32> bytes) {
    if ((bytes[0] & 0x7F) != keyRelease)
        return false;
    const auto code = macKeyCodeForX11(bytes[1]);
    return !code || modifierFlagOfKey(*code) == 0;
}

bool RecordDecoder::decode(std::span<const std::uint8_t, 32> bytes, InputEvent& event) {
    const std::uint8_t type = bytes[0] & 0x7F;
    const std::uint8_t detail = bytes[1];
    const std::int16_t rootX = int16At(bytes, 20);
    const std::int16_t rootY = int16At(bytes, 22);
    event.location = {rootX - primary_.origin.x,
                      primary_.size.height - (rootY - primary_.origin.y)};
    event.deltaX = event.deltaY = 0;
    event.keyCode = 0;
    event.isARepeat = false;
    event.buttonNumber = 0;
    event.clickCount = 0;
    event.scrollLinesX = event.scrollLinesY = 0;
    event.scrollingDeltaX = event.scrollingDeltaY = 0;
    event.hasPreciseScrollingDeltas = false;
    event.scrollPhase = event.momentumPhase = scrollPhase::none;
    event.scrollCount = 0;
    event.characters.clear();
    event.charactersIgnoringModifiers.clear();

    switch (type) {
        case keyPress:
        case keyRelease: {
            const bool down = type == keyPress;
            const auto code = macKeyCodeForX11(detail);
            event.keyCode = code.value_or(0);
            const std::uint64_t flag = code ? modifierFlagOfKey(*code) : 0;
            if (flag != 0) {
                // The flags after the change: X11's state field has them before.
                if (flag == modifier::capsLock) {
                    if (down)
                        flags_ ^= flag;
                } else if (down) {
                    flags_ |= flag;
                } else {
                    flags_ &= ~flag;
                }
                keysDown_[detail] = down;
                if (characters_) {  // keeps the layout's state in step
                    characters_(detail, down, event.characters, event.charactersIgnoringModifiers);
                    event.characters.clear();
                    event.charactersIgnoringModifiers.clear();
                }
                event.type = EventType::flagsChanged;
                event.modifierFlags = flags_;
                return true;
            }
            // Auto-repeat sends presses without releases.
            event.isARepeat = down && keysDown_[detail];
            keysDown_[detail] = down;
            event.type = down ? EventType::keyDown : EventType::keyUp;
            event.modifierFlags = flags_;
            if (characters_)
                characters_(detail, down, event.characters, event.charactersIgnoringModifiers);
            return true;
        }
        case buttonPress:
        case buttonRelease: {
            const bool down = type == buttonPress;
            event.modifierFlags = flags_;
            if (detail >= 4 && detail <= 7) {
                if (!down)
                    return false;  // a wheel notch is one press
                event.type = EventType::scrollWheel;
                const int lines = (detail == 4 || detail == 6) ? 1 : -1;
                if (detail <= 5) {
                    event.scrollLinesY = lines;
                    event.deltaY = lines;
                    event.scrollingDeltaY = lines * 10.0;
                } else {
                    event.scrollLinesX = lines;
                    event.deltaX = lines;
                    event.scrollingDeltaX = lines * 10.0;
                }
                return true;
            }
            if (detail < 1 || detail > 31)
                return false;
            if (down)
                buttonsHeld_ |= 1u << (detail - 1);
            else
                buttonsHeld_ &= ~(1u << (detail - 1));
            event.type = pressType(detail, down);
            event.buttonNumber = macButton(detail);
            event.clickCount = 1;
            return true;
        }
        case motionNotify: {
            if (warp_ && warp_->first == rootX && warp_->second == rootY) {
                warp_.reset();
                lastMotion_ = {rootX, rootY};
                return false;
            }
            event.modifierFlags = flags_;
            if (lastMotion_) {
                event.deltaX = rootX - lastMotion_->first;
                event.deltaY = rootY - lastMotion_->second;
            }
            lastMotion_ = {rootX, rootY};
            event.type = (buttonsHeld_ & 1u)   ? EventType::leftMouseDragged
                         : (buttonsHeld_ & 4u) ? EventType::rightMouseDragged
                         : buttonsHeld_        ? EventType::otherMouseDragged
                                               : EventType::mouseMoved;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace quorvane::platform::x11

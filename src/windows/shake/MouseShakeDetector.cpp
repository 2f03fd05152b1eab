#include "windows/shake/MouseShakeDetector.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane::windows {

using platform::EventType;

void MouseShakeDetector::reset() {
    state_ = State::idle;
    direction_ = Direction::unknown;
    count_ = 0;
    goodBefore_ = 0;
}

void MouseShakeDetector::handle(const platform::InputEvent& event) {
    if (event.type == EventType::leftMouseUp) {
        reset();
        return;
    }
    if (event.type != EventType::leftMouseDragged)
        return;
    switch (state_) {
        case State::idle:
            state_ = State::dragStarted;  // the first event is not measured
            return;
        case State::shake:
            return;
        case State::dragStarted:
            measure(event.deltaX);
            return;
    }
}

void MouseShakeDetector::measure(double dx) {
    if (!(std::abs(dx) > 6.0))  // NaN counts as slow
        return;
    const Direction direction = dx > 0 ? Direction::right : Direction::left;
    if (direction == direction_) {
        // Saturates past the range: a longer stroke is out of it either way.
        count_ = std::min(count_ + 1, configuration_.rangeEnd);
    } else {
        if (direction_ != Direction::unknown)
            goodBefore_ =
                inRange(count_) ? std::min(goodBefore_ + 1, configuration_.threshold + 1) : 0;
        direction_ = direction;
        count_ = 1;
    }
    const int inARow = inRange(count_) ? goodBefore_ + 1 : 0;
    if (configuration_.threshold < inARow) {
        state_ = State::shake;
        if (configuration_.onShake)
            configuration_.onShake();
    }
}

}  // namespace quorvane::windows

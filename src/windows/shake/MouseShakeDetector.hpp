#pragma once

#include <functional>

#include "platform/InputEvent.hpp"

namespace quorvane::windows {

// Recognises a window shaken by its title bar: while the left button is
// held, at least four strokes in a row, alternating left and right, of 3
// to 14 drag events each, the last of which may still be going on. Slow
// moves (6 points or less per event) do not count. One shake per drag.
// Keeps only the stroke in progress and how many good ones came straight
// before it, so its memory stays the same however long the drag.
class MouseShakeDetector {
  public:
    struct Configuration {
        int rangeBegin = 3;  // events in one stroke, half-open
        int rangeEnd = 15;
        int threshold = 3;  // a shake once more strokes than this are in a row
        std::function<void()> onShake{};
    };
    enum class State { idle, dragStarted, shake };
    enum class Direction { unknown, right, left };

    MouseShakeDetector() = default;
    explicit MouseShakeDetector(Configuration configuration)
        : configuration_(std::move(configuration)) {}

    void setOnShake(std::function<void()> onShake) { configuration_.onShake = std::move(onShake); }
    void handle(const platform::InputEvent& event);
    void reset();

    State state() const { return state_; }

  private:
    void measure(double dx);
    bool inRange(int count) const {
        return count >= configuration_.rangeBegin && count < configuration_.rangeEnd;
    }

    Configuration configuration_{};
    State state_ = State::idle;
    Direction direction_ = Direction::unknown;  // of the stroke in progress
    int count_ = 0;                             // its events
    int goodBefore_ = 0;  // strokes in range straight before it (capped)
};

}  // namespace quorvane::windows

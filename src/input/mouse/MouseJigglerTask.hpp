#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <functional>

#include "core/CanToggle.hpp"
#include "core/Debouncer.hpp"
#include "core/RepeatingTimer.hpp"
#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "input/mouse/Jiggler.hpp"
#include "input/mouse/MouseTweakServices.hpp"

namespace quorvane::input {

// While on, the pointer wanders a little every `seconds`, as a hand would
// move it, to keep the machine awake. It rests while the user moves the
// mouse (any move but its own jiggle's, however small or large, in any
// direction) and starts again 5 s after the last of them. Needs
// Accessibility.
class MouseJigglerTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr core::IntSetting seconds{"MouseJigglerTask.Manager.seconds", 60, 5, 3600};
    static constexpr auto restBeforeResuming = std::chrono::seconds(5);
    // A move seen this close to a point of its own jiggle (rounded to
    // pixels by the desktop) is that point's.
    static constexpr double ownMoveSlack = 1;
    // Points of its own not seen yet that it remembers; a desktop that
    // never reports some (a move to where the pointer is) keeps no more.
    static constexpr std::size_t ownMovesKept = 1024;
    // Seeds of the jiggles' paths.
    using Random = std::function<std::uint64_t()>;

    MouseJigglerTask(core::TweakInfo info, bool core::MState::*field, MouseTweakServices& services,
                     Random random = {});
    ~MouseJigglerTask() override;
    MouseJigglerTask(const MouseJigglerTask&) = delete;
    MouseJigglerTask& operator=(const MouseJigglerTask&) = delete;

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    void start();
    void stop();
    // One jiggle now, unless one is under way (then the tick is dropped).
    void jiggleNow();
    bool isWaiting() const { return timer_.isRunning(); }
    Jiggler& jiggler() { return jiggler_; }

  private:
    void moved(const platform::InputEvent& event);
    // Whether the move is one its jiggle posted; forgets it and those
    // posted before it.
    bool isOwnMove(const platform::InputEvent& event);
    void startTimer();
    // Ends the jiggle under way; points already queued are dropped.
    void endJiggle();

    MouseTweakServices& services_;
    Random random_;
    core::RepeatingTimer timer_;
    core::Debouncer resume_;
    EventMonitor monitor_;
    // Points reach the main thread with the generation they were posted
    // in; ending a jiggle starts a new one, so its queued points are
    // dropped on arrival (without touching a tweak that is gone).
    std::shared_ptr<std::atomic<std::uint64_t>> generation_ =
        std::make_shared<std::atomic<std::uint64_t>>(0);
    Jiggler jiggler_;
    // Where its jiggle has moved the pointer and no move has been seen yet,
    // oldest first (Cocoa space). Main thread.
    std::deque<platform::Point> ownMoves_;
    core::StopList::Entry atExit_;
};

}  // namespace quorvane::input

#pragma once

#include <cstdint>
#include <functional>

#include "core/RepeatingTimer.hpp"
#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "input/mouse/MouseTweakServices.hpp"

namespace quorvane::input {

// Where a scroll wave stands. Each tick scrolls by the wave's height at
// that point (sin of progress over duration, times `step` pixels) plus a
// jitter in [-1, 1), and moves on by `speed`; past `duration` the next wave
// begins.
struct ScrollWave {
    double progress = 0;
    std::int32_t tick(double speed, double step, double duration, double jitter);
};

// Scrolls what is under the pointer in slow waves until the mouse moves,
// over our own windows too.
// Running it again while it scrolls does nothing; the next run after a
// stop continues the wave where it stopped. Needs Accessibility.
class AutoScrollTask final : public core::BuiltinTweak {
  public:
    static constexpr core::DoubleSetting speed{"AutoScrollTask.Settings.speed", 0.1, 0.02, 1, 0.01};
    static constexpr core::DoubleSetting step{"AutoScrollTask.Settings.step", -5, -50, 50, 1};
    static constexpr core::DoubleSetting duration{"AutoScrollTask.Settings.duration", 5, 1, 30, 1};
    // Jitter in [-1, 1).
    using Random = std::function<double()>;

    AutoScrollTask(core::TweakInfo info, MouseTweakServices& services, Random random = {});

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    void start();
    void stop();
    bool isScrolling() const { return timer_.isRunning(); }
    const ScrollWave& wave() const { return wave_; }

  private:
    void tick();

    MouseTweakServices& services_;
    Random random_;
    ScrollWave wave_;
    core::RepeatingTimer timer_;
    EventMonitor monitor_;
    core::StopList::Entry atExit_;
};

}  // namespace quorvane::input

#include "input/mouse/AutoScrollTask.hpp"

#include <cmath>
#include <numbers>
#include <random>

#include "core/RandomSeed.hpp"

namespace quorvane::input {

std::int32_t ScrollWave::tick(double speedSetting, double stepSetting, double durationSetting,
                              double jitter) {
    const double height = std::sin(progress / durationSetting * std::numbers::pi);
    const auto delta = static_cast<std::int32_t>(height * stepSetting + jitter);
    progress += speedSetting;
    // Fifty steps of 0.1 add up to a hair under 5: without the margin a
    // wave would last one tick longer than it should.
    if (progress >= durationSetting - speedSetting * 1e-6)
        progress = 0;
    return delta;
}

namespace {

AutoScrollTask::Random systemRandom() {
    auto engine = std::make_shared<std::mt19937_64>(core::randomSeed());
    return [engine] { return std::uniform_real_distribution<double>(-1, 1)(*engine); };
}

}  // namespace

AutoScrollTask::AutoScrollTask(core::TweakInfo info, MouseTweakServices& services, Random random)
    : BuiltinTweak(std::move(info)),
      services_(services),
      random_(random ? std::move(random) : systemRandom()),
      timer_(services.input.mainQueue),
      // Our own windows' moves too: their input never reaches a global
      // monitor, and a scroll started over our list would never end there.
      monitor_(services.input.monitors, services.input.journal, services.input.log, id(),
               platform::eventMask::mouseMoved, [this](const platform::InputEvent&) { stop(); },
               &services.input.localMonitors),
      atExit_(services.stops.add([this] { stop(); })) {}

core::RunOutcome AutoScrollTask::run() {
    // Without trust a scroll under way stops too.
    auto outcome = services_.input.windows.gate.runOneShot([this] { start(); });
    if (!outcome.isDone())
        stop();
    return outcome;
}

core::ConfigureForm AutoScrollTask::configureView() const {
    return {{{.controls = {core::FormControl::stepper("Speed", speed).withUnit("s"),
                           core::FormControl::stepper("Step", step).withUnit("points"),
                           core::FormControl::stepper("Momentum", duration).withUnit("s")}}}};
}

void AutoScrollTask::start() {
    if (isScrolling())
        return;
    if (!monitor_.start())
        return;
    const double interval = speed.read(services_.defaults);
    timer_.start(std::chrono::round<platform::Duration>(std::chrono::duration<double>(interval)),
                 [this] { tick(); });
}

void AutoScrollTask::stop() {
    timer_.stop();
    monitor_.stop();
}

void AutoScrollTask::tick() {
    const auto delta = wave_.tick(speed.read(services_.defaults), step.read(services_.defaults),
                                  duration.read(services_.defaults), random_());
    (void)services_.input.poster.post(
        id(), {.type = platform::EventType::scrollWheel,
               .location = services_.input.monitors.mouseLocation(),
               .scrollingDeltaY = static_cast<double>(delta),
               .hasPreciseScrollingDeltas = true});
}

}  // namespace quorvane::input

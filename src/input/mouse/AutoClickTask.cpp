#include "input/mouse/AutoClickTask.hpp"

namespace quorvane::input {

AutoClickTask::AutoClickTask(core::TweakInfo info, bool core::MState::*field,
                             MouseTweakServices& services)
    : BuiltinTweak(std::move(info)),
      CanMToggle(services.input.store, field),
      services_(services),
      timer_(services.input.mainQueue),
      atExit_(services.stops.add([this] { stop(); })) {}

core::RunOutcome AutoClickTask::run() {
    return services_.input.windows.gate.applyToggle(
        *this, [this] { stop(); }, [this] { start(); });
}

core::ConfigureForm AutoClickTask::configureView() const {
    return {{{.controls = {core::FormControl::stepper("times per second", times)}}}};
}

void AutoClickTask::start() {
    const auto perSecond = times.read(services_.defaults);
    timer_.start(std::chrono::nanoseconds(1'000'000'000 / perSecond), [this] { tick(); });
}

void AutoClickTask::stop() {
    timer_.stop();
}

void AutoClickTask::tick() {
    const auto at = services_.input.monitors.mouseLocation();
    if (services_.mainWindowUnder && services_.mainWindowUnder(at))
        return;
    auto& poster = services_.input.poster;
    // A refused down holds nothing, so no up follows it.
    if (!poster.post(id(), {.type = platform::EventType::leftMouseDown, .location = at, .clickCount = 1}))
        return;
    (void)poster.post(id(), {.type = platform::EventType::leftMouseUp, .location = at, .clickCount = 1});
}

}  // namespace quorvane::input

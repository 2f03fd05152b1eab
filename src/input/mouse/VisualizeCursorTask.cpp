#include "input/mouse/VisualizeCursorTask.hpp"

namespace quorvane::input {

namespace {

using platform::EventType;

bool isPress(EventType type) {
    return type == EventType::leftMouseDown || type == EventType::rightMouseDown ||
           type == EventType::otherMouseDown;
}

bool isRelease(EventType type) {
    return type == EventType::leftMouseUp || type == EventType::rightMouseUp ||
           type == EventType::otherMouseUp;
}

}  // namespace

VisualizeCursorTask::VisualizeCursorTask(core::TweakInfo info, core::PKeyPath field,
                                         MouseTweakServices& services)
    : BuiltinTweak(std::move(info)),
      CanPToggle(services.input.store, field),
      services_(services),
      monitor_(services.input.monitors, services.input.journal, services.input.log, id(),
               platform::eventMask::allMouse,
               [this](const platform::InputEvent& event) { handle(event); },
               &services.input.localMonitors),
      atExit_(services.stops.add([this] { stop(); })) {
    ring_.owner = id();
    ring_.frame.size = {side, side};
    ring_.level = platform::overlayLevel::display;
    ring_.passesInput = true;
    ring_.content = platform::OverlayDescription::Content::cursorRing;
}

VisualizeCursorTask::~VisualizeCursorTask() {
    stop();
}

core::RunOutcome VisualizeCursorTask::run() {
    if (isOn())
        start();
    else
        stop();
    return core::RunOutcome::done();
}

core::ConfigureForm VisualizeCursorTask::configureView() const {
    return {{{.controls = {core::FormControl::toggle("Glow", glows)}}}};
}

void VisualizeCursorTask::start() {
    stop();
    if (!monitor_.start())
        setOn(false);
}

void VisualizeCursorTask::stop() {
    monitor_.stop();
    hide();
}

void VisualizeCursorTask::hide() {
    hiding_.cancel();
    ring_.pressed = false;
    if (shown_)
        services_.overlays.close(*shown_);
    shown_.reset();
}

void VisualizeCursorTask::handle(const platform::InputEvent& event) {
    const bool press = isPress(event.type);
    const bool release = isRelease(event.type);
    if (!shown_ && !press)
        return;  // a hidden ring is not moved
    ring_.frame.origin = {event.location.x - side / 2, event.location.y - side / 2};
    if (press) {
        // A press soon after a release keeps the ring its release would hide.
        hiding_.cancel();
        ring_.pressed = true;
        if (!shown_) {
            ring_.glows = glows.read(services_.defaults);
            shown_ = services_.overlays.show(ring_);
            return;
        }
    } else if (release) {
        ring_.pressed = false;
        hiding_.cancel();
        hiding_ = services_.input.mainQueue.after(hideAfterRelease, [this] { hide(); });
    }
    services_.overlays.update(*shown_, ring_);
}

}  // namespace quorvane::input

#include "display/IncreaseBrightnessTask.hpp"

#include <algorithm>

namespace quorvane::display {

namespace {

std::vector<Display> capable(const DisplayService& displays) {
    std::vector<Display> found;
    for (auto& display : displays.displays())
        if (display.isHdrCapable())
            found.push_back(display);
    return found;
}

std::vector<platform::Screen> screensOf(const std::vector<Display>& displays) {
    std::vector<platform::Screen> screens;
    for (const auto& display : displays)
        screens.push_back(display.screen);
    return screens;
}

}  // namespace

double IncreaseBrightnessTask::factorFor(double edr) {
    return edr <= 1.0 ? 1.0 : std::min(maximumFactor, edr);
}

IncreaseBrightnessTask::Manager::Manager(DisplayServices& services)
    : screens(namesOf(screensOf(capable(services.displays)))), headroom(services.overlays) {}

IncreaseBrightnessTask::Manager& IncreaseBrightnessTask::manager() const {
    if (manager_)
        return *manager_;
    manager_ = std::make_unique<Manager>(services_);
    auto* self = const_cast<IncreaseBrightnessTask*>(this);
    manager_->woke = services_.events.screensWoke.subscribe([self] {
        if (!self->manager_->headroom.isEmpty())
            self->boost();
    });
    manager_->screensChanged = services_.events.screensChanged.subscribe([self] {
        if (self->manager_->headroom.isEmpty())
            return;
        std::vector<std::string> attached;
        for (const auto& display : self->services_.displays.displays())
            attached.push_back(display.id());
        self->services_.tables.forgetDetached(attached);
        self->showHeadroom();
        self->boost();
    });
    manager_->selectionChanged = manager_->screens.changed.subscribe([self] {
        if (self->manager_->headroom.isEmpty())
            return;
        if (self->services_.tables.owns(self->id()))
            self->services_.tables.release(self->id());
        self->showHeadroom();
        self->boost();
    });
    return *manager_;
}

core::RunOutcome IncreaseBrightnessTask::run() {
    if (!isOn()) {
        reset();
        return core::RunOutcome::done();
    }
    // Nothing could change: say so rather than show a switch that is on.
    if (capable(services_.displays).empty()) {
        setOn(false);
        services_.alerts.show({.style = platform::Alert::Style::warning,
                               .message = name(),
                               .informativeText = noCapableDisplays});
        return core::RunOutcome::refused(noCapableDisplays, /*alertShown=*/true);
    }
    showHeadroom();
    boost();
    return core::RunOutcome::done();
}

void IncreaseBrightnessTask::reset() {
    auto& state = manager();
    state.headroom.closeAll();
    if (services_.tables.owns(id()))
        services_.tables.release(id());
}

void IncreaseBrightnessTask::showHeadroom() {
    auto& state = manager();
    const auto all = capable(services_.displays);
    std::vector<Display> candidates;
    for (const auto& display : all)
        if (state.screens.isEmpty() || state.screens.contains(display.name()))
            candidates.push_back(display);
    // Surfaces of displays no longer chosen, or gone, go.
    for (const auto& shown : state.headroom.screens())
        if (std::none_of(candidates.begin(), candidates.end(),
                         [&](const Display& display) { return display.id() == shown; }))
            state.headroom.close(shown);
    for (const auto& display : candidates) {
        const auto& frame = display.screen.frame;
        const platform::OverlayDescription description{
            .owner = id(),
            .frame = {{frame.minX(), frame.maxY() - 1}, {1, 1}},
            .level = platform::overlayLevel::display,
            .passesInput = true,
            .background = {0, 0, 0, 0},
            .content = platform::OverlayDescription::Content::headroom};
        state.headroom.show(display.id(), description);
    }
}

void IncreaseBrightnessTask::boost() {
    auto& state = manager();
    for (const auto& display : capable(services_.displays)) {
        if (!state.screens.contains(display.name()))
            continue;
        const double factor = factorFor(display.info.edr);
        if (auto scaled = services_.tables.scale(id(), display.id(), factor); !scaled)
            services_.log.warning(id(), "display " + display.id() + " skipped: " +
                                            scaled.error().message);
    }
}

core::ConfigureForm IncreaseBrightnessTask::configureView() const {
    auto& state = manager();
    return {{{.title = "Screens to increase brightness",
              .controls = {core::FormControl::switches(state.screens.switches(
                  [this] { return screensOf(capable(services_.displays)); },
                  services_.events.screensChanged, noCapableDisplays))},
              .footer = footer}}};
}

}  // namespace quorvane::display

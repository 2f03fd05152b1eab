#include "display/DimTask.hpp"

#include <algorithm>

namespace quorvane::display {

DimTask::Manager::Manager(DisplayServices& services)
    : windows(services.overlays), screens(namesOf(services.displays.screens())) {}

DimTask::Manager& DimTask::manager() const {
    if (!manager_) {
        manager_ = std::make_unique<Manager>(services_);
        auto* self = const_cast<DimTask*>(this);
        // A new choice of screens, or screens that come and go, rebuild
        // what is dimmed.
        auto rebuild = [self] {
            if (self->isOn())
                self->dimScreens();
        };
        manager_->selectionChanged = manager_->screens.changed.subscribe(rebuild);
        manager_->screensChanged = services_.events.screensChanged.subscribe(rebuild);
    }
    return *manager_;
}

core::RunOutcome DimTask::run() {
    if (isOn())
        dimScreens();
    else
        undim();
    return core::RunOutcome::done();
}

void DimTask::undim() {
    auto& state = manager();
    state.windows.closeAll();
    if (services_.tables.owns(id()))
        services_.tables.release(id());
}

void DimTask::dimScreens() {
    undim();
    auto& state = manager();
    const auto chosen = state.screens.chosen(services_.displays.screens());
    if (services_.overlays.translucencyWorks()) {
        for (const auto& screen : chosen)
            state.windows.show(screen.id, {.owner = id(),
                                           .frame = screen.frame,
                                           .level = platform::overlayLevel::display,
                                           .passesInput = true,
                                           .background = {0, 0, 0, state.dim}});
        return;
    }
    // Without translucency a black window would be opaque black: darken
    // the light itself instead.
    for (const auto& screen : chosen)
        if (auto scaled = services_.tables.scale(id(), screen.id, 1 - state.dim); !scaled)
            services_.log.warning(id(), "display " + screen.id + ": " + scaled.error().message);
}

void DimTask::setLevel(double level) {
    auto& state = manager();
    state.dim = std::clamp(level, 0.0, 1.0);
    if (!isOn())
        return;
    if (!state.windows.isEmpty()) {
        state.windows.updateAll([&](platform::OverlayDescription& description) {
            description.background.alpha = state.dim;
        });
        return;
    }
    if (!services_.tables.owns(id()))
        return;
    for (const auto& screen : state.screens.chosen(services_.displays.screens()))
        if (auto scaled = services_.tables.scale(id(), screen.id, 1 - state.dim); !scaled)
            services_.log.warning(id(), "display " + screen.id + ": " + scaled.error().message);
}

core::ConfigureForm DimTask::configureView() const {
    auto& state = manager();
    auto* self = const_cast<DimTask*>(this);
    auto level = core::FormControl::slider(
        "Level",
        {.read = [&state] { return platform::DefaultsValue{state.dim}; },
         .write =
             [self](const platform::DefaultsValue& value) {
                 if (const double* chosen = std::get_if<double>(&value))
                     self->setLevel(*chosen);
             }},
        0.0, 1.0);
    level.minimumSymbol = "sun.max";
    level.maximumSymbol = "moon.fill";
    return {{{.title = "Screens to dim",
              .controls = {core::FormControl::switches(state.screens.switches(
                  [this] { return services_.displays.screens(); },
                  services_.events.screensChanged))}},
             {.title = "Dim Level", .controls = {level}}}};
}

}  // namespace quorvane::display

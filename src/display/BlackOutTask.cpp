#include "display/BlackOutTask.hpp"

namespace quorvane::display {

BlackOutTask::Manager::Manager(DisplayServices& services)
    : windows(services.overlays), screens(namesOf(services.displays.screens())) {}

BlackOutTask::Manager& BlackOutTask::manager() const {
    if (!manager_)
        manager_ = std::make_unique<Manager>(services_);
    return *manager_;
}

core::RunOutcome BlackOutTask::run() {
    auto& state = manager();
    if (!isOn()) {
        state.windows.closeAll();
        screensChanged_.cancel();
        return core::RunOutcome::done();
    }
    // A shortcut that is stored but that the session refused would leave
    // the user behind a black screen that swallows every key.
    if (!services_.shortcutIsActive || !services_.shortcutIsActive(id())) {
        setOn(false);
        state.windows.closeAll();
        const bool held = !services_.holdsShortcuts || services_.holdsShortcuts();
        const char* why = held ? needsShortcut : noInstanceHoldsShortcut;
        services_.alerts.show(
            {.style = platform::Alert::Style::warning, .message = name(), .informativeText = why});
        return core::RunOutcome::refused(why, /*alertShown=*/true);
    }
    cover();
    // Screens that come or go while black are covered anew.
    screensChanged_ = services_.events.screensChanged.subscribe([this] {
        if (isOn())
            cover();
    });
    return core::RunOutcome::done();
}

void BlackOutTask::cover() {
    auto& state = manager();
    state.windows.closeAll();
    for (const auto& screen : state.screens.chosen(services_.displays.screens()))
        state.windows.show(screen.id, {.owner = id(),
                                       .frame = screen.frame,
                                       .level = platform::overlayLevel::display,
                                       .passesInput = false,
                                       .takesFocus = true,
                                       .background = {0, 0, 0, 1}});
    // Windows that swallow every key are taken down when the program stalls;
    // once it answers again, Black out is off.
    for (const auto& [overlay, description] : services_.overlays.shown())
        if (description.owner == id())
            services_.overlays.onLetGo(overlay, [this](const std::string& why) {
                if (!isOn())
                    return;
                services_.journal.record(id(), "display", "switched off: " + why);
                setOn(false);
                manager().windows.closeAll();
                screensChanged_.cancel();
            });
}

core::ConfigureForm BlackOutTask::configureView() const {
    auto& state = manager();
    return {{{.title = "Screens to black out",
              .controls = {core::FormControl::switches(state.screens.switches(
                  [this] { return services_.displays.screens(); },
                  services_.events.screensChanged))}}}};
}

}  // namespace quorvane::display

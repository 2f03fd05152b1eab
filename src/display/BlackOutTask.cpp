#include "display/BlackOutTask.hpp"

namespace quorvane::display {

BlackOutTask::Manager::Manager(DisplayServices& services)
    : windows(services.overlays), screens(namesOf(services.displays.screens())) {}

BlackOutTask::Manager& BlackOutTask::manager() const {
    if (!manager_)
        manager_ = std::make_unique<Manager>(services_);
    return *manager_;
}

void BlackOutTask::run() {
    auto& state = manager();
    if (!isOn()) {
        state.windows.closeAll();
        screensChanged_.cancel();
        return;
    }
    // A shortcut that is stored but that the session refused would leave
    // the user behind a black screen that swallows every key.
    if (!services_.shortcutIsActive || !services_.shortcutIsActive(id())) {
        setOn(false);
        state.windows.closeAll();
        services_.alerts.show({.style = platform::Alert::Style::warning,
                               .message = name(),
                               .informativeText = needsShortcut});
        return;
    }
    cover();
    // Screens that come or go while black are covered anew.
    screensChanged_ = services_.events.screensChanged.subscribe([this] {
        if (isOn())
            cover();
    });
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
}

core::ConfigureForm BlackOutTask::configureView() const {
    auto& state = manager();
    return {{{.title = "Screens to black out",
              .controls = {core::FormControl::switches(state.screens.switches(
                  [this] { return services_.displays.screens(); },
                  services_.events.screensChanged))}}}};
}

}  // namespace quorvane::display

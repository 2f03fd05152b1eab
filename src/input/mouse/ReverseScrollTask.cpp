#include "input/mouse/ReverseScrollTask.hpp"

namespace quorvane::input {

std::optional<std::string> ReverseScrollTask::ownUnavailableReason() const {
    if (!services_.scrollInterceptor)
        return core::notSupportedOnThisDesktop;
    return std::nullopt;
}

core::RunOutcome ReverseScrollTask::run() {
    if (!services_.scrollInterceptor)
        return unavailableHere();
    std::optional<std::string> failed;
    auto outcome = services_.input.windows.gate.applyToggle(
        *this, [this] { stop(); }, [this, &failed] { failed = start(); });
    if (failed)
        return core::RunOutcome::refused("cannot reverse the scrolling: " + *failed,
                                         services_.alerts != nullptr);
    return outcome;
}

std::optional<std::string> ReverseScrollTask::start() const {
    auto started = services_.scrollInterceptor->start(invertVertical.read(services_.defaults),
                                                      invertHorizontal.read(services_.defaults));
    if (started)
        return std::nullopt;
    services_.input.log.warning(id(), "cannot reverse the scrolling: " + started.error().message);
    if (services_.alerts)
        services_.alerts->show({.style = platform::Alert::Style::warning,
                                .message = "The scrolling cannot be reversed here",
                                .informativeText = started.error().message});
    services_.input.store.pState.modify(
        [field = pKeyPath()](core::PState& state) { field.write(state, false); });
    return started.error().message;
}

void ReverseScrollTask::stop() const {
    if (services_.scrollInterceptor)
        services_.scrollInterceptor->stop();
}

core::ConfigureForm ReverseScrollTask::configureView() const {
    // A change applies at once while the tweak is on.
    auto* self = this;
    auto bound = [self](const core::BoolSetting& setting) {
        return core::FormValue{
            .read = [self, &setting] { return platform::DefaultsValue{setting.read(self->services_.defaults)}; },
            .write =
                [self, &setting](const platform::DefaultsValue& value) {
                    const bool* on = std::get_if<bool>(&value);
                    if (!on)
                        return;
                    setting.write(self->services_.defaults, *on);
                    if (self->isOn() && self->services_.scrollInterceptor) {
                        self->stop();
                        self->start();
                    }
                }};
    };
    return {{{.controls = {core::FormControl::toggle("Invert vertical scrolling", bound(invertVertical)),
                           core::FormControl::toggle("Invert horizontal scrolling", bound(invertHorizontal))}}}};
}

}  // namespace quorvane::input

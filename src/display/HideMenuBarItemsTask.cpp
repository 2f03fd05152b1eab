#include "display/HideMenuBarItemsTask.hpp"

namespace quorvane::display {

HideMenuBarItemsTask::HideMenuBarItemsTask(core::TweakInfo info, core::PKeyPath field,
                                           DisplayServices& services)
    : BuiltinTweak(std::move(info)), CanPToggle(services.store, field), services_(services) {
    // A separator kept shown is there from launch, in the instance only: a
    // command run with no Quorvane running leaves the menu bar alone.
    if (showsSeparator.read(services_.defaults))
        services_.mainQueue.post([this, alive = std::weak_ptr<bool>(alive_)] {
            const bool instance = !services_.holdsShortcuts || services_.holdsShortcuts();
            if (!alive.expired() && instance && isAvailable())
                placeSeparator();
        });
}

std::optional<std::string> HideMenuBarItemsTask::ownUnavailableReason() const {
    if (!services_.statusBar || !services_.monitors || !services_.statusBar->lengthsMoveOtherItems())
        return std::string(core::notSupportedOnThisDesktop);
    return std::nullopt;
}

core::RunOutcome HideMenuBarItemsTask::run() {
    if (unavailableReason())
        return unavailableHere();
    if (!isOn()) {
        monitor_.reset();
        placeSeparator();
        return core::RunOutcome::done();
    }
    // One separator and one monitor, however often it is switched on.
    placeSeparator();
    monitor_.reset();
    monitor_ = std::make_unique<input::EventMonitor>(
        *services_.monitors, services_.journal, services_.log, id(), platform::eventMask::leftMouseUp,
        [this](const platform::InputEvent& event) { restoreCheck(event.location); });
    monitor_->start();
    return core::RunOutcome::done();
}

void HideMenuBarItemsTask::placeSeparator() {
    if (!isOn() && !showsSeparator.read(services_.defaults)) {
        removeSeparator();
        return;
    }
    if (!separator_) {
        separator_ = services_.statusBar->addItem({.name = separatorName,
                                                   .image = "statusIconSeparator",
                                                   .clicked = [this](platform::Rect) { tapSeparator(); },
                                                   .length = separatorLength});
        return;
    }
    if (!isOn())  // shown to be placed: it hides nothing
        services_.statusBar->setLength(*separator_, separatorLength);
}

void HideMenuBarItemsTask::removeSeparator() {
    if (auto token = std::exchange(separator_, std::nullopt))
        services_.statusBar->removeItem(*token);
}

void HideMenuBarItemsTask::tapSeparator() {
    if (separator_ && isOn())
        services_.statusBar->setLength(*separator_, hidingLength);
}

void HideMenuBarItemsTask::restoreCheck(platform::Point mouse) {
    if (!separator_)
        return;
    const auto frame = services_.statusBar->buttonFrame(*separator_);
    if (!frame || !frame->contains(mouse))
        return;
    for (const auto& screen : services_.displays.screens())
        if (screen.frame.contains(mouse)) {
            if (mouse.x > screen.frame.minX() + screen.frame.size.width / 2)
                services_.statusBar->setLength(*separator_, separatorLength);
            return;
        }
}

core::ConfigureForm HideMenuBarItemsTask::configureView() const {
    // The switch puts the separator in the menu bar, or takes it out, at once.
    auto* self = const_cast<HideMenuBarItemsTask*>(this);
    const core::FormValue shown{
        .read = [self] { return platform::DefaultsValue{showsSeparator.read(self->services_.defaults)}; },
        .write =
            [self](const platform::DefaultsValue& value) {
                const bool* on = std::get_if<bool>(&value);
                if (!on)
                    return;
                showsSeparator.write(self->services_.defaults, *on);
                if (self->isAvailable())
                    self->placeSeparator();
            }};
    return {{{.title = {},
              .controls = {core::FormControl::toggle("Show separator", shown)},
              .footer = "• Cmd+drag the separator icon around in the menu bar\n"
                        "• Click on the separator to hide status items to the left",
              .image = "hideStatusItemsScreenshot"}}};
}

}  // namespace quorvane::display

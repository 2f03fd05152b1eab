#include "display/HideMenuBarItemsTask.hpp"

namespace quorvane::display {

std::optional<std::string> HideMenuBarItemsTask::unavailableReason() const {
    if (!services_.statusBar || !services_.monitors || !services_.statusBar->lengthsMoveOtherItems())
        return std::string(core::notSupportedOnThisDesktop);
    return std::nullopt;
}

void HideMenuBarItemsTask::run() {
    if (unavailableReason())
        return;
    if (!isOn()) {
        monitor_.reset();
        removeSeparator();
        return;
    }
    // One separator and one monitor, however often it is switched on.
    removeSeparator();
    separator_ = services_.statusBar->addItem({.name = separatorName,
                                               .image = "statusIconSeparator",
                                               .clicked = [this](platform::Rect) { tapSeparator(); },
                                               .length = separatorLength});
    monitor_.reset();
    monitor_ = std::make_unique<input::EventMonitor>(
        *services_.monitors, services_.journal, services_.log, id(), platform::eventMask::leftMouseUp,
        [this](const platform::InputEvent& event) { restoreCheck(event.location); });
    monitor_->start();
}

void HideMenuBarItemsTask::removeSeparator() {
    if (auto token = std::exchange(separator_, std::nullopt))
        services_.statusBar->removeItem(*token);
}

void HideMenuBarItemsTask::tapSeparator() {
    if (separator_)
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
    return {{{.title = {},
              .controls = {},
              .footer = "• Cmd+drag the separator icon around in the menu bar\n"
                        "• Click on the separator to hide status items to the left",
              .image = "hideStatusItemsScreenshot"}}};
}

}  // namespace quorvane::display

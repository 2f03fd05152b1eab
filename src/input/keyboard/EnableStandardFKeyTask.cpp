#include "input/keyboard/EnableStandardFKeyTask.hpp"

namespace quorvane::input {

std::optional<std::string> EnableStandardFKeyTask::ownUnavailableReason() const {
    if (!services_.hid)
        return core::notSupportedOnThisDesktop;
    return std::nullopt;
}

core::RunOutcome EnableStandardFKeyTask::run() {
    if (!services_.hid)
        return unavailableHere();
    const bool asked = isOn();
    platform::Status written = platform::success();
    services_.settings.change(id(), "standard function keys",
                          [&] { written = services_.hid->setParameter(parameter, asked ? 1 : 0); });
    if (written)
        return core::RunOutcome::done();
    services_.input.log.warning(id(), "cannot perform the F-key mode change: " + written.error().message);
    // The switch shows what the system holds: read back, else as it was.
    const auto held = services_.hid->parameter(parameter);
    setOn(held == 0 || held == 1 ? *held == 1 : !asked);
    return core::RunOutcome::refused("cannot change the F-key mode: " + written.error().message);
}

void EnableStandardFKeyTask::refresh() {
    if (!services_.hid)
        return;
    // Another value (a driver's own) says nothing about the two modes.
    if (const auto held = services_.hid->parameter(parameter); held == 0 || held == 1)
        setOn(*held == 1);
}

}  // namespace quorvane::input

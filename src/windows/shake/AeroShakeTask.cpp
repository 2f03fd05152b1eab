#include "windows/shake/AeroShakeTask.hpp"

#include "windows/snap/SnapGeometry.hpp"

namespace quorvane::windows {

AeroShakeTask::AeroShakeTask(core::TweakInfo info, core::PKeyPath field,
                             WindowTweakServices& services)
    : BuiltinTweak(std::move(info)),
      CanPToggle(services.windows.store, field),
      services_(services),
      monitor_(services.monitors, services.windows.journal, services.windows.log, id(),
               platform::eventMask::windowDrag,
               [this](const platform::InputEvent& event) { detector_.handle(event); }) {
    detector_.setOnShake([this] { shake(); });
}

core::RunOutcome AeroShakeTask::run() {
    return services_.windows.gate.applyToggle(*this, [this] { stop(); }, [this] { monitor_.start(); });
}

void AeroShakeTask::stop() {
    monitor_.stop();
    detector_.reset();
}

void AeroShakeTask::shake() {
    auto& windows = services_.windows;
    const auto mouse = services_.monitors.mouseLocation();
    const auto window = windows.windowAt.window(mouse);
    if (!window)
        return;
    const auto position = platform::position(windows.accessibility, *window);
    const auto size = platform::size(windows.accessibility, *window);
    if (!position || !size)
        return;
    const auto frame = platform::flipped(platform::Rect{*position, *size}, windows.screens.screens());
    if (!titleBarStrip(frame).contains(mouse))
        return;
    // The shaken window's own application, which need not be the frontmost
    // one (a window dragged with Command held, one never given the focus).
    const auto owner = windows.accessibility.pid(*window);
    windows.hiding.hideOtherApps(id(), owner);
    if (owner)
        windows.hiding.minimizeOtherWindows(id(), *owner, *window);
}

}  // namespace quorvane::windows

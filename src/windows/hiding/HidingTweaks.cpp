#include "windows/hiding/HidingTweaks.hpp"

#include <utility>

namespace quorvane::windows {

using namespace platform;

core::RunOutcome HideOtherWindowsTask::run() {
    services_.windows.hiding.hideOtherWindows(id());
    return core::RunOutcome::done();
}

core::RunOutcome HideAllAppsTask::run() {
    // After the click that ran it has been handled, as a menu action is.
    services_.windows.mainQueue.post([this] {
        auto& windows = services_.windows;
        windows.hiding.hideOtherApps(id(), windows.applications.ownPid());
        if (services_.minimizeOwnWindows)
            services_.minimizeOwnWindows();
    });
    return core::RunOutcome::done();
}

core::RunOutcome ShowDesktopTask::run() {
    auto& windows = services_.windows;
    if (auto* reveal = services_.reveal) {
        if (reveal->isShowingDesktop() && reveal->showWindows()) {
            windows.actions.recordOnceDone(id(), "desktop", "showed the windows again",
                                           [reveal] { return !reveal->isShowingDesktop(); });
            return core::RunOutcome::done();
        }
        if (reveal->showDesktop()) {
            windows.actions.recordOnceDone(id(), "desktop", "showed the desktop",
                                           [reveal] { return reveal->isShowingDesktop(); });
            return core::RunOutcome::done();
        }
    }
    if (!restoreMinimized())
        minimizeAll();
    return core::RunOutcome::done();
}

void ShowDesktopTask::minimizeAll() {
    auto& windows = services_.windows;
    auto& accessibility = windows.accessibility;
    const int own = windows.applications.ownPid();
    minimized_.clear();
    for (const auto& application : windows.applications.list()) {
        if (application.pid == own || application.isHidden)
            continue;
        for (Element window :
             accessibility.attributeValues(accessibility.application(application.pid), ax::windows))
            if (!attributeAs<bool>(accessibility, window, ax::minimized).value_or(false) &&
                windows.actions.minimize(id(), window))
                minimized_.push_back(window);
    }
}

bool ShowDesktopTask::restoreMinimized() {
    auto& windows = services_.windows;
    auto& accessibility = windows.accessibility;
    bool restored = false;
    // Those the user brought back or closed meanwhile stay as they are.
    for (Element window : std::exchange(minimized_, {}))
        if (attributeAs<bool>(accessibility, window, ax::minimized).value_or(false))
            restored = windows.actions.unminimize(id(), window) || restored;
    return restored;
}

core::RunOutcome FocusFrontmostAppTask::run() {
    following_.cancel();
    if (!isOn())
        return core::RunOutcome::done();  // what was hidden stays hidden
    following_ = services_.windows.apps.frontmostApp.subscribe(
        [this](const std::optional<RunningApplication>& front) { focus(front); });
    focus(services_.windows.apps.frontmostApp.get());
    return core::RunOutcome::done();
}

void FocusFrontmostAppTask::focus(const std::optional<RunningApplication>& front) {
    if (!front)
        return;
    services_.windows.hiding.hideOtherApps(id(), front->pid);
}

ClickToHideTask::ClickToHideTask(core::TweakInfo info, core::PKeyPath field,
                                 WindowTweakServices& services)
    : BuiltinTweak(std::move(info)),
      CanPToggle(services.windows.store, field),
      services_(services),
      monitor_(services.monitors, services.windows.journal, services.windows.log, id(),
               eventMask::leftMouseUp, [this](const InputEvent&) { clicked(); }) {}

std::optional<std::string> ClickToHideTask::ownUnavailableReason() const {
    if (!services_.dockReadable)
        return core::notSupportedOnThisDesktop;
    return std::nullopt;
}

core::RunOutcome ClickToHideTask::run() {
    if (!services_.dockReadable)
        return unavailableHere();
    return services_.windows.gate.applyToggle(*this, [this] { monitor_.stop(); },
                                       [this] { monitor_.start(); });
}

void ClickToHideTask::clicked() {
    auto& windows = services_.windows;
    auto& accessibility = windows.accessibility;
    const auto item = accessibility.elementAt(
        flipped(services_.monitors.mouseLocation(), windows.screens.screens()));
    if (!item || attributeAs<std::string>(accessibility, *item, ax::subrole) !=
                     std::string(ax::applicationDockItemSubrole))
        return;
    const auto url = attributeAs<Url>(accessibility, *item, ax::url);
    if (!url)
        return;
    const auto target = applicationAt(windows.applications, url->address);
    if (!target)
        return;
    // A first click only brings it forward: it must have been in front
    // before this click already.
    const auto& last = windows.apps.frontmostApp.get();
    if (!last || last->pid != target->pid || !target->isActive || target->isHidden)
        return;
    if (accessibility.attributeValues(accessibility.application(target->pid), ax::windows).empty())
        return;
    windows.actions.hide(id(), *target);
}

}  // namespace quorvane::windows

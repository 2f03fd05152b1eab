#include "access/HideWindowService.hpp"

namespace quorvane::windows {

using namespace platform;

void HideWindowService::hideOtherApps(std::string_view cause, std::optional<int> keep) {
    if (!keep)
        if (const auto& last = apps_.frontmostApp.get())
            keep = last->pid;
    const int own = applications_.ownPid();
    // A dock or panel belongs to the desktop, not to the applications put
    // away.
    for (const auto& application : applications_.list())
        if (application.pid != own && !application.partOfDesktop &&
            (!keep || application.pid != *keep))
            actions_.hide(cause, application);
}

void HideWindowService::minimizeOtherWindows(std::string_view cause, int pid, Element except) {
    if (pid == applications_.ownPid())
        return;
    auto& accessibility = actions_.accessibility();
    for (Element window : accessibility.attributeValues(accessibility.application(pid), ax::windows))
        if (window != except)
            actions_.minimize(cause, window);
}

void HideWindowService::hideOtherWindows(std::string_view cause) {
    hideOtherApps(cause);
    const auto front = applications_.frontmost();
    if (!front)
        return;
    auto& accessibility = actions_.accessibility();
    auto focused =
        attributeAs<Element>(accessibility, accessibility.application(front->pid), ax::focusedWindow);
    if (!focused)
        return;
    minimizeOtherWindows(cause, front->pid, *focused);
}

}  // namespace quorvane::windows

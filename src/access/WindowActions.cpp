#include "access/WindowActions.hpp"

#include <sstream>

namespace quorvane::windows {

using namespace platform;

namespace {

std::string text(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

}  // namespace

std::string WindowActions::describe(Element window) {
    const auto title = attributeAs<std::string>(accessibility_, window, ax::title).value_or("");
    std::string owner;
    if (auto pid = accessibility_.pid(window)) {
        owner = " of pid " + std::to_string(*pid);
        for (const auto& application : applications_.list())
            if (application.pid == *pid)
                owner = " of " + application.name;
    }
    return "window \"" + title + "\"" + owner;
}

bool WindowActions::move(std::string_view cause, Element window, Point to) {
    if (!setPosition(accessibility_, window, to))
        return false;
    record(cause, "window", "moved " + describe(window) + " to " + text(to.x) + " " + text(to.y));
    return true;
}

bool WindowActions::resize(std::string_view cause, Element window, Size to) {
    if (!setSize(accessibility_, window, to))
        return false;
    record(cause, "window",
           "resized " + describe(window) + " to " + text(to.width) + " × " + text(to.height));
    return true;
}

bool WindowActions::setFrame(std::string_view cause, Element window, const Rect& to) {
    const bool moved = setPosition(accessibility_, window, to.origin);
    const bool sized = setSize(accessibility_, window, to.size);
    if (sized)
        setPosition(accessibility_, window, to.origin);
    if (!moved && !sized)
        return false;
    record(cause, "window",
           "placed " + describe(window) + " at " + text(to.origin.x) + " " + text(to.origin.y) +
               " " + text(to.size.width) + " × " + text(to.size.height));
    return true;
}

bool WindowActions::place(std::string_view cause, Element window, const Rect& to) {
    const bool sized = setSize(accessibility_, window, to.size);
    const bool moved = setPosition(accessibility_, window, to.origin);
    if (moved)
        setSize(accessibility_, window, to.size);
    if (!moved && !sized)
        return false;
    record(cause, "window",
           "placed " + describe(window) + " at " + text(to.origin.x) + " " + text(to.origin.y) +
               " " + text(to.size.width) + " × " + text(to.size.height));
    return true;
}

bool WindowActions::raise(std::string_view cause, Element window) {
    if (!accessibility_.performAction(window, ax::raise))
        return false;
    record(cause, "window", "raised " + describe(window));
    return true;
}

bool WindowActions::isMinimized(Element window) {
    return attributeAs<bool>(accessibility_, window, ax::minimized).value_or(false);
}

bool WindowActions::isHidden(int pid) {
    for (const auto& application : applications_.list())
        if (application.pid == pid)
            return application.isHidden;
    return false;
}

void WindowActions::recordOnceDone(std::string cause, std::string kind, std::string detail,
                                   std::function<bool()> done, int looksLeft) {
    if (done()) {
        record(cause, kind, detail);
        return;
    }
    if (!mainQueue_ || looksLeft <= 0)
        return;
    mainQueue_->after(lookInterval, [this, alive = std::weak_ptr<bool>(alive_),
                                     cause = std::move(cause), kind = std::move(kind),
                                     detail = std::move(detail), done = std::move(done),
                                     looksLeft]() mutable {
        if (!alive.expired())
            recordOnceDone(std::move(cause), std::move(kind), std::move(detail), std::move(done),
                           looksLeft - 1);
    });
}

bool WindowActions::minimize(std::string_view cause, Element window) {
    if (isMinimized(window))
        return true;
    auto button = attributeAs<Element>(accessibility_, window, ax::minimizeButton);
    if (!button)
        return false;
    // Described while the window is still on screen.
    const std::string detail = "minimized " + describe(window);
    if (!accessibility_.performAction(*button, ax::press))
        return false;
    recordOnceDone(std::string(cause), "window", detail,
                   [this, window] { return isMinimized(window); });
    return true;
}

bool WindowActions::unminimize(std::string_view cause, Element window) {
    if (!isMinimized(window))
        return true;
    const std::string detail = "restored " + describe(window);
    if (!accessibility_.setAttribute(window, ax::minimized, false))
        return false;
    recordOnceDone(std::string(cause), "window", detail,
                   [this, window] { return !isMinimized(window); });
    return true;
}

bool WindowActions::press(std::string_view cause, Element item) {
    const auto title = attributeAs<std::string>(accessibility_, item, ax::title).value_or("");
    if (!accessibility_.performAction(item, ax::press))
        return false;
    record(cause, "menu item", "pressed \"" + title + "\"");
    return true;
}

bool WindowActions::setFlag(std::string_view cause, Element element, std::string_view name,
                            bool on) {
    if (!accessibility_.setAttribute(element, name, on))
        return false;
    const auto pid = accessibility_.pid(element);
    record(cause, "application",
           std::string(name) + " " + (on ? "on" : "off") +
               (pid ? " for pid " + std::to_string(*pid) : std::string()));
    return true;
}

bool WindowActions::hide(std::string_view cause, const RunningApplication& application) {
    if (application.isHidden)
        return true;
    if (!applications_.hide(application.pid))
        return false;
    recordOnceDone(std::string(cause), "application", "hid " + application.name,
                   [this, pid = application.pid] { return isHidden(pid); });
    return true;
}

bool WindowActions::activate(std::string_view cause, const RunningApplication& application) {
    if (!applications_.activate(application.pid))
        return false;
    record(cause, "application", "activated " + application.name);
    return true;
}

}  // namespace quorvane::windows

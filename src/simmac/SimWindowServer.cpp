#include "simmac/SimWindowServer.hpp"

#include <algorithm>
#include <thread>

#include "platform/KeyCombinationParts.hpp"
#include "simmac/SimWindowServerElements.hpp"

namespace quorvane::platform::sim {

using namespace windowserver;

// Applications and windows: the state the other parts act on.

// Every application's menu bar starts with the system's menu.
std::vector<SimWindowServer::Menu> SimWindowServer::withSystemMenu(std::vector<Menu> menus) {
    menus.insert(menus.begin(), {"Apple",
                                 {{"About This Mac", ""},
                                  {"Force Quit…", "Alt+Meta+Esc"},
                                  {"Lock Screen", "Ctrl+Meta+Q"}}});
    return menus;
}

SimWindowServer::SimWindowServer(int ownPid, Journal& journal, Pasteboard& pasteboard,
                                 std::function<bool(const std::string&)> shortcut,
                                 SimDisplays* displays)
    : ownPid_(ownPid),
      journal_(journal),
      pasteboard_(pasteboard),
      shortcut_(std::move(shortcut)),
      ownDisplays_(displays ? nullptr : std::make_unique<SimDisplays>(journal)),
      displays_(displays ? displays : ownDisplays_.get()),
      menuBar_(*displays_,
               [this](const std::string& detail) { this->journal("menu bar", detail); }),
      frontmost_(ownPid) {
    apps_.push_back({.pid = dockPid, .name = "Dock", .bundle = "com.apple.dock", .regular = false});
    apps_.push_back({.pid = finderPid,
                     .name = "Finder",
                     .bundle = "com.apple.finder",
                     .menus = withSystemMenu(
                         {{"File", {{"New Finder Window", "Meta+N"}, {"Close Window", "Meta+W"}}},
                          {"Edit", {{"Copy", "Meta+C"}, {"Paste", "Meta+V"}}},
                          {"Go", {{"Home", "Meta+Shift+H"}}}})});
    apps_.push_back({.pid = textEditPid,
                     .name = "TextEdit",
                     .bundle = "com.apple.TextEdit",
                     .menus = withSystemMenu(
                         {{"File", {{"New", "Meta+N"}, {"Open…", "Meta+O"}, {"Save", "Meta+S"}}},
                          {"Edit",
                           {{"Undo", "Meta+Z"},
                            {"Redo", "Meta+Shift+Z"},
                            {"Copy", "Meta+C"},
                            {"Paste", "Meta+V"},
                            {"Paste and Match Style", "Alt+Shift+Meta+V"}}},
                          {"Format", {{"Bold", "Meta+B"}, {"Show Fonts", "Meta+T"}}},
                          {"Window", {{"Zoom", ""}}}})});
    // This program, just launched: the frontmost application, as on a Mac.
    apps_.push_back({.pid = ownPid_,
                     .name = "Quorvane",
                     .bundle = "com.tarnvell.Quorvane",
                     .menus = withSystemMenu(
                         {{"Quorvane", {{"Settings…", "Meta+,"}, {"Quit Quorvane", "Meta+Q"}}}})});
    windows_.push_back({.number = nextWindow_++,
                        .pid = textEditPid,
                        .title = "Untitled",
                        .frame = {{200, 120}, {640, 480}}});
}

bool SimWindowServer::key(const std::string& combination) {
    if (!parseCombination(combination))
        return false;
    journal("input", "key " + combination);
    // A lock takes the keys before any shortcut, as a Mac's secure input does.
    if (!swallowers_.empty()) {
        pressKeys(combination);
        return false;
    }
    if (shortcut_ && shortcut_(combination))
        return true;
    pressKeys(combination);
    return false;
}

std::string SimWindowServer::text(int pid) const {
    for (const auto& running : apps_)
        if (running.pid == pid)
            return running.text;
    return {};
}

void SimWindowServer::journal(std::string_view kind, const std::string& detail) {
    journal_.record(cause, kind, detail);
}

// --- lookups ---------------------------------------------------------------

SimWindowServer::App* SimWindowServer::app(int pid) {
    for (auto& running : apps_)
        if (running.pid == pid)
            return &running;
    return nullptr;
}

SimWindowServer::Window* SimWindowServer::window(int number) {
    for (auto& candidate : windows_)
        if (candidate.number == number)
            return &candidate;
    return nullptr;
}

bool SimWindowServer::waitsOnHungApp(int pid) {
    const App* target = app(pid);
    if (!target || !target->hung)
        return false;
    // The call waits out the messaging timeout, then gives up.
    if (deferredHungWait)
        *deferredHungWait += messagingTimeout_;
    else
        std::this_thread::sleep_for(messagingTimeout_);
    return true;
}

bool SimWindowServer::isVisible(const Window& candidate) {
    const App* owner = app(candidate.pid);
    return !candidate.minimized && owner && !owner->hidden;
}

std::vector<SimWindowServer::App*> SimWindowServer::dockApps() {
    std::vector<App*> shown;
    for (auto& running : apps_)
        if (running.regular)
            shown.push_back(&running);
    return shown;
}

Rect SimWindowServer::dockItemFrame(std::size_t index, std::size_t count) const {
    const Rect primary = displays_->screenList().front().frame;
    const double left = (primary.size.width - double(count) * dockItemWidth) / 2;
    return {{left + double(index) * dockItemWidth, primary.size.height - dockHeight},
            {dockItemWidth, dockHeight}};
}

Rect SimWindowServer::menuTitleFrame(std::size_t index) const {
    return {{menuTitleWidth * double(index + 1), 0}, {menuTitleWidth, menuBarHeight}};
}

// --- running applications --------------------------------------------------

std::vector<RunningApplication> SimWindowServer::list() {
    std::vector<RunningApplication> running;
    for (const auto& entry : apps_)
        running.push_back({.pid = entry.pid,
                           .name = entry.name,
                           .bundleIdentifier = entry.bundle,
                           .bundleUrl = entry.bundle
                                            ? std::optional<std::string>("file:///Applications/" +
                                                                         entry.name + ".app/")
                                            : std::nullopt,
                           .isActive = entry.pid == frontmost_,
                           .isHidden = entry.hidden,
                           .regular = entry.regular,
                           .partOfDesktop = entry.pid == dockPid,
                           .icon = entry.pid == ownPid_ ? "⚡" : "🖥️"});
    return running;
}

bool SimWindowServer::forceTerminate(int pid) {
    SimDesktopCommand quit{.kind = SimDesktopCommand::Kind::quitApp, .pid = pid};
    return static_cast<bool>(perform(quit));
}

bool SimWindowServer::reopen(const RunningApplication& application) {
    SimDesktopCommand launch{.kind = SimDesktopCommand::Kind::launchApp,
                             .name = application.name,
                             .bundle = application.bundleIdentifier};
    return static_cast<bool>(perform(launch));
}

std::optional<RunningApplication> SimWindowServer::frontmost() {
    for (auto& entry : list())
        if (entry.isActive)
            return entry;
    return std::nullopt;
}

void SimWindowServer::raise(int number) {
    auto found = std::find_if(windows_.begin(), windows_.end(),
                              [&](const Window& candidate) { return candidate.number == number; });
    if (found == windows_.end())
        return;
    std::rotate(windows_.begin(), found, std::next(found));
}

void SimWindowServer::setFrontmost(int pid) {
    if (frontmost_ == pid)
        return;
    frontmost_ = pid;
    const auto now = *frontmost();
    // Observers may add or remove observers: call a copy.
    const auto observers = activationObservers_;
    for (const auto& [token, observer] : observers)
        if (activationObservers_.contains(token))
            observer(now);
}

bool SimWindowServer::activate(int pid) {
    App* target = app(pid);
    if (!target || !target->regular || target->hung)
        return false;
    target->hidden = false;
    // Its windows come to the front, in their order.
    std::stable_partition(windows_.begin(), windows_.end(),
                          [&](const Window& candidate) { return candidate.pid == pid; });
    setFrontmost(pid);
    return true;
}

bool SimWindowServer::hide(int pid) {
    App* target = app(pid);
    if (!target || !target->regular || target->hung)
        return false;
    target->hidden = true;
    if (frontmost_ == pid) {
        // The next application with a window shown takes over, else Finder.
        int next = finderPid;
        for (const auto& candidate : windows_)
            if (isVisible(candidate)) {
                next = candidate.pid;
                break;
            }
        setFrontmost(next);
    }
    return true;
}

RunningApplications::Token SimWindowServer::observeActivation(Observer observer) {
    const auto token = nextObserver_++;
    activationObservers_.emplace(token, std::move(observer));
    return token;
}

void SimWindowServer::removeObserver(RunningApplications::Token token) {
    activationObservers_.erase(token);
}

}  // namespace quorvane::platform::sim

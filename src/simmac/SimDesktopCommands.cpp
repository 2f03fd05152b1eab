#include "simmac/SimWindowServer.hpp"

#include <algorithm>

#include "platform/GeometryText.hpp"
#include "platform/KeyCombinationParts.hpp"
#include "simmac/SimPasteboard.hpp"
#include "simmac/SimWindowServerElements.hpp"

namespace quorvane::platform::sim {

using namespace windowserver;

namespace {

Error unknownPid(int pid) {
    return Error{"no application with pid " + std::to_string(pid)};
}

}  // namespace

// The command interpreter: what `quorvane sim ...` asks of the desktop, and
// what it shows.

Result<std::string> SimWindowServer::perform(const SimDesktopCommand& command) {
    if (auto done = performOnDisplaysAndApps(command))
        return std::move(*done);
    if (auto done = performOnWindowsAndMenus(command))
        return std::move(*done);
    if (auto done = performInput(command))
        return std::move(*done);
    return Error{"unknown command"};
}

// Commands on the displays and the applications; nothing for the others.
std::optional<Result<std::string>> SimWindowServer::performOnDisplaysAndApps(
    const SimDesktopCommand& command) {
    using K = SimDesktopCommand::Kind;
    switch (command.kind) {
        case K::showDisplays:
            return displays_->describe();
        case K::addDisplay:
            return displays_->add(command.name, command.rect.size, command.value);
        case K::moveDisplay:
            return displays_->move(std::to_string(command.number), command.from);
        case K::setDisplay:
            return displays_->set(std::to_string(command.number), command.name, command.value);
        case K::removeDisplay: {
            const std::string id = std::to_string(command.number);
            const auto before = displays_->screenList();
            auto found = std::find_if(before.begin(), before.end(),
                                      [&](const Screen& screen) { return screen.id == id; });
            auto removed = displays_->remove(id);
            if (!removed || found == before.end())
                return removed;
            // Windows left on it come back to the main display.
            const Rect gone = flipped(found->frame, before);
            for (auto& window : windows_)
                if (gone.contains(window.frame.origin))
                    window.frame.origin = {100, menuBarHeight + 20};
            return removed;
        }
        case K::showApps:
            return describeApps();
        case K::launchApp: {
            if (apps_.size() >= maxApplications)
                return Error{"the simulated Mac runs at most " + std::to_string(maxApplications) +
                             " applications"};
            for (const auto& running : apps_)
                if (running.name == command.name)
                    return Error{command.name + " is already running (pid " +
                                 std::to_string(running.pid) + ")"};
            App launched{.pid = nextPid_++, .name = command.name, .bundle = command.bundle};
            launched.menus = withSystemMenu({{"File", {{"Close", "Meta+W"}}}});
            apps_.push_back(launched);
            journal("application", "launched " + command.name + " (pid " +
                                       std::to_string(launched.pid) + ")");
            activate(launched.pid);
            return "Launched " + command.name + " (pid " + std::to_string(launched.pid) + ").\n";
        }
        case K::setEnhancedUserInterface: {
            App* target = app(command.pid);
            if (!target)
                return unknownPid(command.pid);
            target->enhancedUserInterface = command.on;
            journal("application", std::string(command.on ? "enhanced interface on for "
                                                           : "enhanced interface off for ") +
                                       target->name);
            return std::string();
        }
        case K::setDockAutohide:
            displays_->setDockHidden(command.on);
            journal("dock", command.on ? "hides itself" : "stays shown");
            return std::string();
        case K::activateApp:
        case K::hideApp:
        case K::hangApp:
        case K::quitApp: {
            App* target = app(command.pid);
            if (!target)
                return unknownPid(command.pid);
            const std::string name = target->name;
            if (command.kind == K::activateApp) {
                if (!activate(command.pid))
                    return Error{name + " cannot be activated"};
                journal("application", "activated " + name);
                return "Activated " + name + ".\n";
            }
            if (command.kind == K::hideApp) {
                if (!hide(command.pid))
                    return Error{name + " cannot be hidden"};
                journal("application", "hid " + name);
                return "Hid " + name + ".\n";
            }
            if (command.kind == K::hangApp) {
                target->hung = true;
                journal("application", name + " stopped answering");
                return name + " no longer answers.\n";
            }
            if (command.pid == ownPid_ || command.pid == dockPid || command.pid == finderPid)
                return Error{name + " cannot be quit here"};
            std::erase_if(windows_,
                          [&](const Window& window) { return window.pid == command.pid; });
            std::erase_if(apps_, [&](const App& running) { return running.pid == command.pid; });
            journal("application", "quit " + name);
            if (frontmost_ == command.pid)
                activate(finderPid);
            return "Quit " + name + ".\n";
        }
        default:
            return std::nullopt;
    }
}

// Commands on windows, the menu bar and menus; nothing for the others.
std::optional<Result<std::string>> SimWindowServer::performOnWindowsAndMenus(
    const SimDesktopCommand& command) {
    using K = SimDesktopCommand::Kind;
    switch (command.kind) {
        case K::showWindows:
            return describeWindows();
        case K::addWindow: {
            if (!app(command.pid) || command.pid == dockPid)
                return unknownPid(command.pid);
            if (windows_.size() >= maxWindows)
                return Error{"the simulated Mac shows at most " + std::to_string(maxWindows) +
                             " windows"};
            Window added{.number = nextWindow_++,
                         .pid = command.pid,
                         .title = command.name,
                         .frame = command.rect,
                         .fixedSize = command.fixedSize,
                         .canMinimize = !command.noMinimize};
            // In front when its application is; else behind the frontmost
            // application's windows.
            auto at = windows_.begin();
            if (command.pid != frontmost_)
                at = std::find_if(windows_.begin(), windows_.end(),
                                  [&](const Window& window) { return window.pid != frontmost_; });
            windows_.insert(at, added);
            journal("window", "opened window " + std::to_string(added.number) + " \"" +
                                  added.title + "\" of " + app(command.pid)->name + " at " +
                                  rectText(added.frame));
            return "Opened window " + std::to_string(added.number) + ".\n";
        }
        case K::closeWindow: {
            Window* target = window(command.number);
            if (!target)
                return Error{"no window " + std::to_string(command.number)};
            journal("window", "closed window " + std::to_string(command.number));
            std::erase_if(windows_, [&](const Window& candidate) {
                return candidate.number == command.number;
            });
            return "Closed window " + std::to_string(command.number) + ".\n";
        }
        case K::showMenuBar:
            return menuBar_.describe();
        case K::addMenuBarItem:
        case K::removeMenuBarItem:
        case K::dragSeparator:
            return menuBar_.change(command);
        case K::showMenus:
            return describeMenus();
        case K::addMenuItem: {
            App* target = app(command.pid);
            if (!target)
                return unknownPid(command.pid);
            if (!parseCombination(command.shortcut))
                return Error{"\"" + command.shortcut + "\" is not a key combination, e.g. Meta+S"};
            std::size_t items = 0;
            for (const auto& menu : target->menus)
                items += menu.items.size();
            if (items >= maxMenuItems)
                return Error{target->name + " has at most " + std::to_string(maxMenuItems) +
                             " menu items"};
            const auto slash = command.name.find('/');
            const std::string menuTitle = command.name.substr(0, slash);
            auto menu =
                std::find_if(target->menus.begin(), target->menus.end(),
                             [&](const Menu& candidate) { return candidate.title == menuTitle; });
            if (menu == target->menus.end()) {
                target->menus.push_back({menuTitle, {}});
                menu = std::prev(target->menus.end());
            }
            menu->items.push_back({command.name.substr(slash + 1), command.shortcut});
            journal("menu",
                    "added " + command.name + " (" + command.shortcut + ") to " + target->name);
            return "Added " + command.name + " to " + target->name + ".\n";
        }
        default:
            return std::nullopt;
    }
}

// Commands on the pointer, the keyboard, the pasteboard and the event taps; nothing for the others.
std::optional<Result<std::string>> SimWindowServer::performInput(const SimDesktopCommand& command) {
    using K = SimDesktopCommand::Kind;
    switch (command.kind) {
        case K::showPointer:
            return "pointer " + numberText(pointer_.x) + " " + numberText(pointer_.y) + "\n";
        case K::movePointer: {
            journal("input",
                    "pointer to " + numberText(command.from.x) + " " + numberText(command.from.y));
            const Point previous = pointer_;
            pointer_ = command.from;
            deliver({.type = EventType::mouseMoved,
                     .location = cocoa(pointer_),
                     .deltaX = pointer_.x - previous.x,
                     .deltaY = pointer_.y - previous.y,
                     .modifierFlags = flags_});
            return std::string();
        }
        case K::click: {
            journal("input", std::string(command.right ? "right " : "") + "click at " +
                                 numberText(command.from.x) + " " + numberText(command.from.y));
            if (pointer_ != command.from) {
                pointer_ = command.from;
                deliver({.type = EventType::mouseMoved, .location = cocoa(pointer_)});
            }
            const int button = command.right ? 1 : 0;
            deliver({.type = command.right ? EventType::rightMouseDown : EventType::leftMouseDown,
                     .location = cocoa(pointer_),
                     .modifierFlags = flags_,
                     .buttonNumber = button,
                     .clickCount = 1});
            deliver({.type = command.right ? EventType::rightMouseUp : EventType::leftMouseUp,
                     .location = cocoa(pointer_),
                     .modifierFlags = flags_,
                     .buttonNumber = button,
                     .clickCount = 1});
            return std::string();
        }
        case K::drag: {
            startDrag(command);
            for (const auto& step : dragSteps(command))
                dragLeftTo(step.to);
            releaseLeft();
            return std::string();
        }
        case K::scroll: {
            journal("input", std::string(command.trackpad ? "trackpad " : "wheel ") + "scroll " +
                                 numberText(command.dy) + " " + numberText(command.dx));
            InputEvent scroll{.type = EventType::scrollWheel,
                              .location = cocoa(pointer_),
                              .deltaX = command.dx,
                              .deltaY = command.dy,
                              .scrollLinesY = std::llround(command.dy),
                              .scrollLinesX = std::llround(command.dx),
                              .scrollingDeltaY = command.dy * 10,
                              .scrollingDeltaX = command.dx * 10};
            if (!command.trackpad) {
                deliver(scroll);
                return std::string();
            }
            scroll.hasPreciseScrollingDeltas = true;
            for (int phase : {scrollPhase::began, scrollPhase::changed, scrollPhase::ended}) {
                scroll.scrollPhase = phase;
                deliver(scroll);
            }
            scroll.scrollPhase = scrollPhase::none;
            scroll.momentumPhase = scrollPhase::began;
            deliver(scroll);
            return std::string();
        }
        case K::key: {
            if (!parseCombination(command.name))
                return Error{"\"" + command.name + "\" is not a key combination, e.g. Ctrl+Alt+K"};
            if (key(command.name))
                return "Pressed " + command.name + " (a shortcut took it).\n";
            return "Pressed " + command.name + ".\n";
        }
        case K::type:
            journal("input", "typed " + std::to_string(command.name.size()) + " bytes");
            if (auto typed = typeText(command.name); !typed)
                return typed.error();
            return std::string();
        case K::showText:
            return text(frontmost_) + "\n";
        case K::showPasteboard:
        case K::setPasteboard:
            return performPasteboardCommand(pasteboard_, command);
        case K::tapTimeout: {
            std::size_t disabled = 0;
            // A callback may remove taps: walk a copy of the tokens.
            std::vector<EventTaps::Token> tokens;
            for (auto& [token, tap] : taps_)
                if (!tap.swallowsAll && tap.enabled)
                    tokens.push_back(token);
            for (auto token : tokens) {
                auto found = taps_.find(token);
                if (found == taps_.end())
                    continue;
                found->second.enabled = false;
                ++disabled;
                auto disabledCallback = found->second.disabled;
                if (disabledCallback)
                    disabledCallback();
            }
            journal("input", "the system disabled " + std::to_string(disabled) + " event tap(s)");
            return "Disabled " + std::to_string(disabled) + " event tap(s).\n";
        }
        default:
            return std::nullopt;
    }
}


// --- what `quorvane sim NOUN` shows ----------------------------------------

std::string SimWindowServer::describeApps() {
    std::string out;
    for (const auto& entry : apps_)
        out += std::to_string(entry.pid) + "  " + entry.name + "  " + entry.bundle.value_or("-") +
               (entry.pid == frontmost_ ? "  frontmost" : "") + (entry.hidden ? "  hidden" : "") +
               (entry.hung ? "  not answering" : "") + "\n";
    return out;
}

std::string SimWindowServer::describeWindows() {
    std::string out;
    for (const auto& entry : windows_)
        out += std::to_string(entry.number) + "  " + app(entry.pid)->name + "  \"" + entry.title +
               "\"  " + rectText(entry.frame) + (entry.minimized ? "  minimized" : "") +
               (entry.fixedSize ? "  fixed size" : "") +
               (entry.canMinimize ? "" : "  no minimize") + "\n";
    return out;
}

std::string SimWindowServer::describeMenus() {
    std::string out;
    for (const auto& entry : apps_)
        for (const auto& menu : entry.menus)
            for (const auto& item : menu.items)
                out += std::to_string(entry.pid) + "  " + entry.name + "  " + menu.title + "/" +
                       item.title + "  " + item.shortcut + "\n";
    return out;
}

}  // namespace quorvane::platform::sim

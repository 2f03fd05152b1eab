#include "platform/GeometryText.hpp"
#include "platform/sim/SimWindowServer.hpp"

#include "platform/sim/SimPasteboard.hpp"

#include <algorithm>
#include <cmath>
#include <thread>

#include "platform/KeyCombinationParts.hpp"
#include "platform/MacKeyCodes.hpp"

namespace quorvane::platform::sim {

namespace {

// Elements: a kind, an owner (pid or window number) and an index.
enum class Kind : std::uint8_t {
    systemWide = 1,
    application,
    window,
    minimizeButton,
    closeButton,
    toolbarButton,
    scrollArea,
    textArea,
    menuBar,
    menuBarItem,
    menu,
    menuItem,
    dockList,
    dockItem,
    dockExtra,  // after the applications: the Downloads folder (0), the Trash (1)
    desktop,
};

// What the Dock holds after its applications.
struct DockExtra {
    const char* title;
    const char* subrole;
    const char* folder;
};
constexpr DockExtra dockExtras[] = {{"Downloads", "AXFolderDockItem", "Downloads"},
                                    {"Trash", "AXTrashDockItem", ".Trash"}};
constexpr std::size_t dockExtraCount = std::size(dockExtras);

Element make(Kind kind, std::uint32_t owner = 0, std::uint32_t index = 0) {
    return Element((std::uint64_t(kind) << 56) | (std::uint64_t(owner & 0xFFFFFF) << 32) | index);
}
Kind kindOf(Element element) {
    return static_cast<Kind>(element.value() >> 56);
}
int ownerOf(Element element) {
    return static_cast<int>((element.value() >> 32) & 0xFFFFFF);
}
std::uint32_t indexOf(Element element) {
    return static_cast<std::uint32_t>(element.value() & 0xFFFFFFFF);
}

constexpr double dockItemWidth = 64;
constexpr double menuTitleWidth = 60;
constexpr double toolbarHeight = 32;
constexpr double buttonSize = 12;


}  // namespace

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
      menuBar_(*displays_, [this](const std::string& detail) { this->journal("menu bar", detail); }),
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

// --- the command line's commands -----------------------------------------

Result<std::string> SimWindowServer::perform(const SimDesktopCommand& command) {
    using K = SimDesktopCommand::Kind;
    auto unknownPid = [&] { return Error{"no application with pid " + std::to_string(command.pid)}; };
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
                return unknownPid();
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
                return unknownPid();
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
            std::erase_if(windows_, [&](const Window& window) { return window.pid == command.pid; });
            std::erase_if(apps_, [&](const App& running) { return running.pid == command.pid; });
            journal("application", "quit " + name);
            if (frontmost_ == command.pid)
                activate(finderPid);
            return "Quit " + name + ".\n";
        }
        case K::showWindows:
            return describeWindows();
        case K::addWindow: {
            if (!app(command.pid) || command.pid == dockPid)
                return unknownPid();
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
            std::erase_if(windows_,
                          [&](const Window& candidate) { return candidate.number == command.number; });
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
                return unknownPid();
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
            auto menu = std::find_if(target->menus.begin(), target->menus.end(),
                                     [&](const Menu& candidate) { return candidate.title == menuTitle; });
            if (menu == target->menus.end()) {
                target->menus.push_back({menuTitle, {}});
                menu = std::prev(target->menus.end());
            }
            menu->items.push_back({command.name.substr(slash + 1), command.shortcut});
            journal("menu", "added " + command.name + " (" + command.shortcut + ") to " + target->name);
            return "Added " + command.name + " to " + target->name + ".\n";
        }
        case K::showPointer:
            return "pointer " + numberText(pointer_.x) + " " + numberText(pointer_.y) + "\n";
        case K::movePointer: {
            journal("input", "pointer to " + numberText(command.from.x) + " " + numberText(command.from.y));
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
            typeText(command.name);
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
    }
    return Error{"unknown command"};
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

// --- accessibility ---------------------------------------------------------

Element SimWindowServer::systemWide() {
    return make(Kind::systemWide);
}

Element SimWindowServer::application(int pid) {
    return make(Kind::application, static_cast<std::uint32_t>(pid));
}

std::optional<Element> SimWindowServer::hitTest(Point point) {
    const Rect primary = displays_->screenList().front().frame;  // at the origin in both spaces
    if (point.y >= 0 && point.y < menuBarHeight && point.x >= 0 && point.x < primary.size.width) {
        const App* front = app(frontmost_);
        if (front)
            for (std::size_t i = 0; i < front->menus.size(); ++i)
                if (menuTitleFrame(i).contains(point))
                    return make(Kind::menuBarItem, static_cast<std::uint32_t>(frontmost_),
                                static_cast<std::uint32_t>(i));
        return make(Kind::menuBar, static_cast<std::uint32_t>(frontmost_));
    }
    if (!displays_->dockHidden() && point.y >= primary.size.height - dockHeight &&
        point.y < primary.size.height &&
        point.x >= 0 && point.x < primary.size.width) {
        const auto shown = dockApps();
        const std::size_t count = shown.size() + dockExtraCount;
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (dockItemFrame(i, count).contains(point))
                return make(Kind::dockItem, static_cast<std::uint32_t>(shown[i]->pid));
        for (std::size_t i = 0; i < dockExtraCount; ++i)
            if (dockItemFrame(shown.size() + i, count).contains(point))
                return make(Kind::dockExtra, static_cast<std::uint32_t>(i));
        return make(Kind::dockList);
    }
    for (const auto& candidate : windows_) {
        if (!isVisible(candidate) || !candidate.frame.contains(point))
            continue;
        const auto number = static_cast<std::uint32_t>(candidate.number);
        const Point local{point.x - candidate.frame.minX(), point.y - candidate.frame.minY()};
        if (local.y < titleBarHeight) {
            if (local.y >= 8 && local.y < 8 + buttonSize) {
                if (local.x >= 8 && local.x < 8 + buttonSize)
                    return make(Kind::closeButton, number);
                if (candidate.canMinimize && local.x >= 28 && local.x < 28 + buttonSize)
                    return make(Kind::minimizeButton, number);
            }
            return make(Kind::window, number);
        }
        if (local.y < titleBarHeight + toolbarHeight)
            return make(Kind::toolbarButton, number);
        return make(Kind::textArea, number);
    }
    const auto& screens = displays_->screenList();
    for (const auto& screen : screens)
        if (flipped(screen.frame, screens).contains(point))
            return make(Kind::desktop);
    return std::nullopt;
}

std::optional<Element> SimWindowServer::elementAt(Point point) {
    if (!isFinite(point))
        return std::nullopt;
    auto element = hitTest(point);
    if (!element)
        return std::nullopt;
    if (auto owner = pid(*element); owner && waitsOnHungApp(*owner))
        return std::nullopt;
    return element;
}

std::optional<int> SimWindowServer::pid(Element element) {
    const int owner = ownerOf(element);
    switch (kindOf(element)) {
        case Kind::systemWide:
            return std::nullopt;
        case Kind::application:
        case Kind::menuBar:
        case Kind::menuBarItem:
        case Kind::menu:
        case Kind::menuItem:
            return app(owner) ? std::optional<int>(owner) : std::nullopt;
        case Kind::window:
        case Kind::minimizeButton:
        case Kind::closeButton:
        case Kind::toolbarButton:
        case Kind::scrollArea:
        case Kind::textArea: {
            const Window* found = window(owner);
            return found ? std::optional<int>(found->pid) : std::nullopt;
        }
        case Kind::dockList:
        case Kind::dockItem:
        case Kind::dockExtra:
            return dockPid;
        case Kind::desktop:
            return finderPid;
    }
    return std::nullopt;
}

std::optional<AttributeValue> SimWindowServer::attribute(Element element, std::string_view name) {
    const auto owner = pid(element);
    if (!owner || waitsOnHungApp(*owner))
        return std::nullopt;
    const int id = ownerOf(element);
    const std::uint32_t index = indexOf(element);
    auto roleIs = [&](std::string_view role) -> std::optional<AttributeValue> {
        if (name == ax::role)
            return std::string(role);
        return std::nullopt;
    };
    switch (kindOf(element)) {
        case Kind::systemWide:
            return std::nullopt;
        case Kind::application: {
            App* target = app(id);
            if (name == ax::role)
                return std::string(ax::applicationRole);
            if (name == ax::title)
                return target->name;
            if (name == ax::frontmost)
                return id == frontmost_;
            if (name == ax::hidden)
                return target->hidden;
            if (name == ax::enhancedUserInterface)
                return target->enhancedUserInterface;
            if (name == ax::menuBar)
                return make(Kind::menuBar, static_cast<std::uint32_t>(id));
            // The Dock application holds one list: its items.
            if (name == ax::children && id == dockPid)
                return std::vector<Element>{make(Kind::dockList)};
            if (name == ax::windows) {
                std::vector<Element> list;
                for (const auto& candidate : windows_)
                    if (candidate.pid == id)
                        list.push_back(make(Kind::window, static_cast<std::uint32_t>(candidate.number)));
                return list;
            }
            if (name == ax::focusedWindow || name == ax::mainWindow) {
                for (const auto& candidate : windows_)
                    if (candidate.pid == id && !candidate.minimized)
                        return make(Kind::window, static_cast<std::uint32_t>(candidate.number));
                return std::nullopt;
            }
            return std::nullopt;
        }
        case Kind::window: {
            const Window* target = window(id);
            const bool focused = [&] {
                for (const auto& candidate : windows_)
                    if (candidate.pid == target->pid && !candidate.minimized)
                        return candidate.number == id;
                return false;
            }();
            if (name == ax::role)
                return std::string(ax::windowRole);
            if (name == ax::subrole)
                return std::string(ax::standardWindowSubrole);
            if (name == ax::title)
                return target->title;
            if (name == ax::position)
                return target->frame.origin;
            if (name == ax::size)
                return target->frame.size;
            if (name == ax::minimized)
                return target->minimized;
            if (name == ax::main || name == ax::focused)
                return focused;
            if (name == ax::parent)
                return application(target->pid);
            if (name == ax::minimizeButton && target->canMinimize)
                return make(Kind::minimizeButton, static_cast<std::uint32_t>(id));
            if (name == ax::closeButton)
                return make(Kind::closeButton, static_cast<std::uint32_t>(id));
            return std::nullopt;
        }
        case Kind::minimizeButton:
        case Kind::closeButton:
        case Kind::toolbarButton:
        case Kind::scrollArea:
        case Kind::textArea: {
            const Kind kind = kindOf(element);
            const Element owningWindow = make(Kind::window, static_cast<std::uint32_t>(id));
            if (name == ax::window)
                return owningWindow;
            if (name == ax::parent)
                return kind == Kind::textArea
                           ? make(Kind::scrollArea, static_cast<std::uint32_t>(id))
                           : owningWindow;
            if (name == ax::subrole && kind == Kind::minimizeButton)
                return std::string("AXMinimizeButton");
            if (name == ax::subrole && kind == Kind::closeButton)
                return std::string("AXCloseButton");
            return roleIs(kind == Kind::scrollArea ? "AXScrollArea"
                          : kind == Kind::textArea ? "AXTextArea"
                                                   : std::string_view(ax::buttonRole));
        }
        case Kind::menuBar: {
            if (name == ax::children) {
                std::vector<Element> items;
                for (std::size_t i = 0; i < app(id)->menus.size(); ++i)
                    items.push_back(make(Kind::menuBarItem, static_cast<std::uint32_t>(id),
                                         static_cast<std::uint32_t>(i)));
                return items;
            }
            if (name == ax::parent)
                return application(id);
            return roleIs(ax::menuBarRole);
        }
        case Kind::menuBarItem:
        case Kind::menu: {
            const auto& menus = app(id)->menus;
            if (index >= menus.size())
                return std::nullopt;
            const bool isBarItem = kindOf(element) == Kind::menuBarItem;
            if (name == ax::title)
                return menus[index].title;
            if (name == ax::parent)
                return isBarItem ? make(Kind::menuBar, static_cast<std::uint32_t>(id))
                                 : make(Kind::menuBarItem, static_cast<std::uint32_t>(id), index);
            if (name == ax::children) {
                if (isBarItem)
                    return std::vector<Element>{make(Kind::menu, static_cast<std::uint32_t>(id), index)};
                std::vector<Element> items;
                for (std::size_t i = 0; i < menus[index].items.size(); ++i)
                    items.push_back(make(Kind::menuItem, static_cast<std::uint32_t>(id),
                                         (index << 16) | static_cast<std::uint32_t>(i)));
                return items;
            }
            if (isBarItem && name == ax::position)
                return menuTitleFrame(index).origin;
            if (isBarItem && name == ax::size)
                return menuTitleFrame(index).size;
            return roleIs(isBarItem ? ax::menuBarItemRole : ax::menuRole);
        }
        case Kind::menuItem: {
            const auto& menus = app(id)->menus;
            const std::uint32_t menu = index >> 16;
            const std::uint32_t item = index & 0xFFFF;
            if (menu >= menus.size() || item >= menus[menu].items.size())
                return std::nullopt;
            const MenuItem& entry = menus[menu].items[item];
            const auto combination = parseCombination(entry.shortcut);
            if (name == ax::title)
                return entry.title;
            if (name == ax::enabled)
                return true;
            if (name == ax::parent)
                return make(Kind::menu, static_cast<std::uint32_t>(id), menu);
            // A key that types a character is named by it; the others
            // (arrows, Escape, F5) by their virtual key.
            const bool typesCharacter = combination && combination->key.size() == 1;
            if (name == ax::menuItemCmdChar && typesCharacter)
                return combination->key;
            if (name == ax::menuItemCmdModifiers && combination) {
                // The Mac's menu modifier bits: 1 Shift, 2 Option, 4 Control,
                // 8 no Command.
                const auto flags = combination->flags;
                return double(((flags & modifier::shift) ? 1 : 0) |
                              ((flags & modifier::option) ? 2 : 0) |
                              ((flags & modifier::control) ? 4 : 0) |
                              ((flags & modifier::command) ? 0 : 8));
            }
            if (name == ax::menuItemCmdVirtualKey && combination && !typesCharacter) {
                if (auto code = macKeyCodeForName(combination->key))
                    return double(*code);
                return std::nullopt;
            }
            return roleIs(ax::menuItemRole);
        }
        case Kind::dockList:
            if (name == ax::children) {
                std::vector<Element> items;
                for (const App* shown : dockApps())
                    items.push_back(make(Kind::dockItem, static_cast<std::uint32_t>(shown->pid)));
                for (std::uint32_t i = 0; i < dockExtraCount; ++i)
                    items.push_back(make(Kind::dockExtra, i));
                return items;
            }
            return roleIs("AXList");
        case Kind::dockItem: {
            const App* target = app(id);
            if (!target)
                return std::nullopt;
            if (name == ax::title)
                return target->name;
            if (name == ax::subrole)
                return std::string(ax::applicationDockItemSubrole);
            if (name == ax::parent)
                return make(Kind::dockList);
            if (name == ax::url && target->bundle)
                return Url{"file:///Applications/" + target->name + ".app/"};
            if (name == ax::position || name == ax::size) {
                const auto shown = dockApps();
                for (std::size_t i = 0; i < shown.size(); ++i) {
                    if (shown[i] != target)
                        continue;
                    const Rect frame = dockItemFrame(i, shown.size() + dockExtraCount);
                    if (name == ax::position)
                        return frame.origin;
                    return frame.size;
                }
                return std::nullopt;
            }
            return roleIs(ax::dockItemRole);
        }
        case Kind::dockExtra: {
            if (std::size_t(id) >= dockExtraCount)
                return std::nullopt;
            const DockExtra& extra = dockExtras[id];
            if (name == ax::title)
                return std::string(extra.title);
            if (name == ax::subrole)
                return std::string(extra.subrole);
            if (name == ax::parent)
                return make(Kind::dockList);
            if (name == ax::url)
                return Url{"file:///Users/Shared/" + std::string(extra.folder) + "/"};
            if (name == ax::position || name == ax::size) {
                const auto apps = dockApps().size();
                const Rect frame = dockItemFrame(apps + std::size_t(id), apps + dockExtraCount);
                if (name == ax::position)
                    return frame.origin;
                return frame.size;
            }
            return roleIs(ax::dockItemRole);
        }
        case Kind::desktop:
            return roleIs("AXScrollArea");
    }
    return std::nullopt;
}

std::vector<Element> SimWindowServer::attributeValues(Element element, std::string_view name) {
    auto value = attribute(element, name);
    if (!value)
        return {};
    if (auto* list = std::get_if<std::vector<Element>>(&*value))
        return *list;
    return {};
}

std::optional<bool> SimWindowServer::isAttributeSettable(Element element, std::string_view name) {
    const auto owner = pid(element);
    if (!owner || waitsOnHungApp(*owner))
        return std::nullopt;
    if (kindOf(element) == Kind::window) {
        const Window* target = window(ownerOf(element));
        if (name == ax::position || name == ax::minimized || name == ax::main)
            return name != ax::minimized || target->canMinimize;
        if (name == ax::size)
            return !target->fixedSize;
        return false;
    }
    if (kindOf(element) == Kind::application)
        return name == ax::frontmost || name == ax::hidden || name == ax::enhancedUserInterface;
    return false;
}

bool SimWindowServer::setAttribute(Element element, std::string_view name,
                                   const AttributeValue& value) {
    const auto owner = pid(element);
    if (!owner || waitsOnHungApp(*owner))
        return false;
    if (kindOf(element) == Kind::application) {
        App* target = app(ownerOf(element));
        const bool* on = std::get_if<bool>(&value);
        if (!on)
            return false;
        if (name == ax::enhancedUserInterface) {
            target->enhancedUserInterface = *on;
            return true;
        }
        if (name == ax::frontmost)
            return *on ? activate(target->pid) : true;
        if (name == ax::hidden)
            return *on ? hide(target->pid) : activate(target->pid);
        return false;
    }
    if (kindOf(element) != Kind::window)
        return false;
    Window* target = window(ownerOf(element));
    if (name == ax::position) {
        const Point* to = std::get_if<Point>(&value);
        if (!to || !isFinite(*to))
            return false;
        target->frame.origin = *to;
        return true;
    }
    if (name == ax::size) {
        const Size* to = std::get_if<Size>(&value);
        if (!to || target->fixedSize || !std::isfinite(to->width) || !std::isfinite(to->height))
            return false;
        // Applications keep their windows at least their minimum size.
        target->frame.size = {std::max(to->width, target->minimum.width),
                              std::max(to->height, target->minimum.height)};
        return true;
    }
    if (name == ax::minimized) {
        const bool* on = std::get_if<bool>(&value);
        if (!on || (*on && !target->canMinimize))
            return false;
        target->minimized = *on;
        if (!*on)
            raise(target->number);
        return true;
    }
    if (name == ax::main) {
        raise(target->number);
        return true;
    }
    return false;
}

bool SimWindowServer::performAction(Element element, std::string_view action) {
    const auto owner = pid(element);
    if (!owner || waitsOnHungApp(*owner))
        return false;
    const int id = ownerOf(element);
    switch (kindOf(element)) {
        case Kind::window:
            if (action != ax::raise)
                return false;
            raise(id);
            return true;
        case Kind::minimizeButton:
            if (action != ax::press)
                return false;
            window(id)->minimized = true;
            return true;
        case Kind::closeButton:
            if (action != ax::press)
                return false;
            std::erase_if(windows_, [&](const Window& candidate) { return candidate.number == id; });
            return true;
        case Kind::menuItem: {
            if (action != ax::press)
                return false;
            const std::uint32_t index = indexOf(element);
            const auto& menus = app(id)->menus;
            if ((index >> 16) >= menus.size() || (index & 0xFFFF) >= menus[index >> 16].items.size())
                return false;
            pressMenuItem(id, index >> 16, index & 0xFFFF);
            return true;
        }
        case Kind::dockItem:
            if (action != ax::press)
                return false;
            return activate(id);
        default:
            return false;
    }
}

void SimWindowServer::pressMenuItem(int pid, std::size_t menu, std::size_t item) {
    App* target = app(pid);
    const std::string title = target->menus[menu].items[item].title;
    journal("menu", "pressed " + target->menus[menu].title + " → " + title + " in " + target->name);
    if (title == "Paste")
        target->text += pasteboard_.string().value_or("");
}

// --- window list -----------------------------------------------------------

std::vector<CGWindow> SimWindowServer::list(unsigned options) {
    const bool onScreenOnly = (options & windowListOption::onScreenOnly) != 0;
    const bool excludeDesktop = (options & windowListOption::excludeDesktopElements) != 0;
    const Rect primary = displays_->screenList().front().frame;
    std::vector<CGWindow> records;
    records.push_back({.alpha = 1, .frame = {{0, 0}, {primary.size.width, menuBarHeight}},
                       .isOnScreen = true, .layer = windowLayer::mainMenu, .name = "Menubar",
                       .number = 1, .ownerName = "Window Server", .ownerPID = 90,
                       .sharingState = 1, .storeType = 1});
    records.push_back({.alpha = 1,
                       .frame = {{0, primary.size.height - dockHeight}, {primary.size.width, dockHeight}},
                       .isOnScreen = true, .layer = windowLayer::dock, .name = "Dock",
                       .number = 2, .ownerName = "Dock", .ownerPID = dockPid,
                       .sharingState = 1, .storeType = 1});
    for (const auto& candidate : windows_) {
        const bool visible = isVisible(candidate);
        if (onScreenOnly && !visible)
            continue;
        records.push_back({.alpha = 1,
                           .frame = candidate.frame,
                           .isOnScreen = visible,
                           .layer = windowLayer::normal,
                           .memoryUsage = candidate.frame.size.width * candidate.frame.size.height * 4,
                           .name = candidate.title,
                           .number = candidate.number,
                           .ownerName = app(candidate.pid)->name,
                           .ownerPID = candidate.pid,
                           .sharingState = 1,
                           .storeType = 1});
        appendOwnWindowsBelow(records, candidate.number);
    }
    appendOwnWindowsBelow(records, 0);
    if (!excludeDesktop)
        records.push_back({.alpha = 1, .frame = primary, .isOnScreen = true,
                           .layer = windowLayer::desktop, .name = "Desktop", .number = 3,
                           .ownerName = "Finder", .ownerPID = finderPid,
                           .sharingState = 1, .storeType = 1});
    return records;
}

std::optional<Image> SimWindowServer::image(int number) {
    const Window* target = window(number);
    if (!target)
        return std::nullopt;
    // A quarter-scale picture in a colour of its own.
    Image picture{.width = std::max(1, int(target->frame.size.width / 4)),
                  .height = std::max(1, int(target->frame.size.height / 4))};
    const std::uint32_t colour = 0xFF000000u | ((std::uint32_t(number) * 2654435761u) & 0xFFFFFFu);
    picture.pixels.assign(std::size_t(picture.width) * std::size_t(picture.height), colour);
    return picture;
}

// Number 0: below every normal window.
bool SimWindowServer::orderBelow(std::uint64_t ownWindow, int number) {
    if (number != 0 && !window(number))
        return false;
    orderedBelow[ownWindow] = number;
    return true;
}

void SimWindowServer::appendOwnWindowsBelow(std::vector<CGWindow>& records, int number) {
    const Rect primary = displays_->screenList().front().frame;
    for (const auto& [own, below] : orderedBelow)
        if (below == number && (!ownWindowShown_ || ownWindowShown_(own)))
            records.push_back({.alpha = 1, .frame = primary, .isOnScreen = true,
                               .layer = windowLayer::normal, .name = "overlay",
                               .number = static_cast<int>(own & 0x7FFFFFFF),
                               .ownerName = "Quorvane", .ownerPID = ownPid_,
                               .sharingState = 1, .storeType = 1});
}

// --- running applications --------------------------------------------------

std::vector<RunningApplication> SimWindowServer::list() {
    std::vector<RunningApplication> running;
    for (const auto& entry : apps_)
        running.push_back({.pid = entry.pid,
                           .name = entry.name,
                           .bundleIdentifier = entry.bundle,
                           .bundleUrl = entry.bundle ? std::optional<std::string>(
                                                           "file:///Applications/" + entry.name + ".app/")
                                                     : std::nullopt,
                           .isActive = entry.pid == frontmost_,
                           .isHidden = entry.hidden,
                           .regular = entry.regular,
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

// --- input -----------------------------------------------------------------

Result<EventMonitors::Token> SimWindowServer::addGlobal(EventMask mask,
                                                        EventMonitors::Handler handler) {
    return monitors_.add(mask, [handler = std::move(handler)](const InputEvent& event) {
        handler(event);
        return false;
    });
}

void SimWindowServer::remove(EventMonitors::Token token) {
    monitors_.remove(token);
}

Point SimWindowServer::mouseLocation() {
    return cocoa(pointer_);
}

Result<EventTaps::Token> SimWindowServer::install(EventMask mask, Callback callback,
                                                  std::function<void()> disabled) {
    const auto token = nextTap_++;
    taps_.emplace(token, Tap{mask, std::move(callback), std::move(disabled)});
    return token;
}

void SimWindowServer::enable(EventTaps::Token token) {
    if (auto found = taps_.find(token); found != taps_.end())
        found->second.enabled = true;
}

void SimWindowServer::uninstall(EventTaps::Token token) {
    taps_.erase(token);
    if (std::erase(swallowers_, token) > 0 && swallowers_.empty()) {
        lockHeard_ = nullptr;
        journal("input", "input given back");
    }
}

// The Mac's lock has no watchdog to fire here: the simulated Mac answers
// on our own main thread, so it cannot end without us.
Result<EventTaps::Token> SimWindowServer::swallowAll(SwallowHeard heard, SwallowEnded) {
    if (!swallowers_.empty())
        return swallowers_.front();
    const auto token = nextTap_++;
    taps_.emplace(token, Tap{~EventMask{0}, {}, {}, true, true});
    swallowers_.push_back(token);
    lockHeard_ = std::move(heard);
    journal("input", "all input held back");
    return token;
}

std::size_t SimWindowServer::enabledTaps() const {
    return static_cast<std::size_t>(std::count_if(taps_.begin(), taps_.end(), [](const auto& entry) {
        return entry.second.enabled && !entry.second.swallowsAll;
    }));
}

void SimWindowServer::deliver(InputEvent event) {
    if (!swallowers_.empty()) {
        // An input lock holds everything back and hears the way out.
        const bool heard = event.type == EventType::keyDown || event.type == EventType::leftMouseUp ||
                           event.type == EventType::rightMouseUp || event.type == EventType::otherMouseUp;
        if (heard && lockHeard_) {
            const auto handler = lockHeard_;  // it may end the lock
            handler(event);
        }
        return;
    }
    std::vector<EventTaps::Token> tokens;
    for (const auto& [token, tap] : taps_)
        if (tap.enabled && matches(tap.mask, event.type))
            tokens.push_back(token);
    for (auto token : tokens) {
        auto found = taps_.find(token);
        if (found == taps_.end() || !found->second.enabled)
            continue;
        auto callback = found->second.callback;
        TapAnswer answer = callback(event);
        if (answer.kind == TapAnswer::Kind::drop)
            return;
        if (answer.kind == TapAnswer::Kind::replace)
            event = std::move(answer.replacement);
    }
    if ((event.type == EventType::keyDown || event.type == EventType::keyUp) && captureHandler_ &&
        std::find(captured_.begin(), captured_.end(), event.keyCode) != captured_.end()) {
        if (event.type == EventType::keyDown) {
            // The handler may release the capture: call a copy.
            const auto handler = captureHandler_;
            handler(event);
        }
        return;
    }
    // A press on one of our status items, and its release, are events of
    // this program: global monitors do not see them.
    bool ours = false;
    if (event.type == EventType::leftMouseDown)
        ours = ownPress_ = menuBar_.ownItemAt(cocoa(event.location)).has_value();
    else if (event.type == EventType::leftMouseUp)
        ours = std::exchange(ownPress_, false);
    if (!ours)
        monitors_.dispatch(event);
    if (event.type == EventType::keyDown || event.type == EventType::keyUp ||
        event.type == EventType::flagsChanged)
        actOnKey(event, frontmost_);
    else
        actOnPointer(event);
}

std::string SimWindowServer::describeDrag(const SimDesktopCommand& command) {
    std::string text = "drag";
    for (std::size_t i = 0; i < command.path.size(); ++i)
        text += (i == 0 ? " from " : i + 1 == command.path.size() ? " to " : " through ") +
                numberText(command.path[i].x) + " " + numberText(command.path[i].y);
    if (command.pause > 0)
        text += ", pausing " + numberText(command.pause) + " s at each point";
    return text;
}

std::vector<SimWindowServer::DragStep> SimWindowServer::dragSteps(const SimDesktopCommand& command) {
    std::vector<DragStep> steps;
    for (std::size_t i = 1; i < command.path.size(); ++i) {
        const Point from = command.path[i - 1];
        const Point to = command.path[i];
        for (int step = 1; step <= command.steps; ++step) {
            const double share = double(step) / command.steps;
            steps.push_back({{from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share},
                             step == command.steps});
        }
    }
    return steps;
}

void SimWindowServer::startDrag(const SimDesktopCommand& command) {
    journal("input", describeDrag(command));
    pointer_ = command.path.front();
    deliver({.type = EventType::mouseMoved, .location = cocoa(pointer_)});
    deliver({.type = EventType::leftMouseDown, .location = cocoa(pointer_), .clickCount = 1});
}

void SimWindowServer::dragLeftTo(Point to) {
    const Point previous = pointer_;
    pointer_ = to;
    deliver({.type = EventType::leftMouseDragged,
             .location = cocoa(pointer_),
             .deltaX = pointer_.x - previous.x,
             .deltaY = pointer_.y - previous.y});
}

void SimWindowServer::releaseLeft() {
    deliver({.type = EventType::leftMouseUp, .location = cocoa(pointer_), .clickCount = 1});
}

void SimWindowServer::actOnPointer(const InputEvent& event) {
    const Point at = cocoa(event.location);
    pointer_ = at;
    switch (event.type) {
        case EventType::leftMouseDown: {
            titleDrag_.reset();
            if (menuBar_.press(at))
                return;
            auto element = hitTest(at);
            if (!element)
                return;
            const Kind kind = kindOf(*element);
            // The Dock acts on the release, as a click, and only for an
            // application that was not in front already.
            if (kind == Kind::dockItem) {
                dockPressOnFront_ = ownerOf(*element) == frontmost_;
                return;
            }
            if (kind == Kind::desktop) {
                activate(finderPid);
                return;
            }
            if (kind == Kind::window || kind == Kind::toolbarButton || kind == Kind::textArea ||
                kind == Kind::minimizeButton || kind == Kind::closeButton) {
                Window* target = window(ownerOf(*element));
                if (app(target->pid)->hung)
                    return;
                activate(target->pid);
                raise(target->number);
                if (kind == Kind::window) {
                    titleDrag_ = {target->number, at};
                    dragStartOrigin_ = target->frame.origin;
                }
            }
            return;
        }
        case EventType::leftMouseDragged:
            if (titleDrag_)
                if (Window* target = window(titleDrag_->first))
                    target->frame.origin = {dragStartOrigin_.x + at.x - titleDrag_->second.x,
                                            dragStartOrigin_.y + at.y - titleDrag_->second.y};
            return;
        case EventType::leftMouseUp: {
            if (titleDrag_) {
                if (Window* target = window(titleDrag_->first);
                    target && target->frame.origin != dragStartOrigin_)
                    journal("window", "moved window " + std::to_string(target->number) + " \"" +
                                          target->title + "\" of " + app(target->pid)->name +
                                          " to " + numberText(target->frame.origin.x) + " " +
                                          numberText(target->frame.origin.y));
                titleDrag_.reset();
                return;
            }
            auto element = hitTest(at);
            if (!element)
                return;
            if (kindOf(*element) == Kind::dockItem) {
                if (!std::exchange(dockPressOnFront_, false))
                    activate(ownerOf(*element));
                return;
            }
            if (kindOf(*element) == Kind::minimizeButton)
                window(ownerOf(*element))->minimized = true;
            else if (kindOf(*element) == Kind::closeButton)
                std::erase_if(windows_, [id = ownerOf(*element)](const Window& candidate) {
                    return candidate.number == id;
                });
            return;
        }
        default:
            return;
    }
}

void SimWindowServer::actOnKey(const InputEvent& event, int pid) {
    if (event.type == EventType::flagsChanged) {
        flags_ = event.modifierFlags;
        return;
    }
    if (event.type != EventType::keyDown)
        return;
    App* target = app(pid);
    if (!target || target->hung)
        return;
    const auto flags = event.modifierFlags;
    if (flags & modifier::command) {
        // A menu item with this shortcut is pressed.
        for (std::size_t m = 0; m < target->menus.size(); ++m)
            for (std::size_t i = 0; i < target->menus[m].items.size(); ++i) {
                auto combination = parseCombination(target->menus[m].items[i].shortcut);
                if (!combination || combination->flags != (flags & modifier::deviceIndependentMask &
                                                           ~modifier::capsLock))
                    continue;
                auto code = macKeyCodeForName(combination->key);
                if (code && *code == event.keyCode) {
                    pressMenuItem(pid, m, i);
                    return;
                }
            }
        if (event.keyCode == macKey::v)
            target->text += pasteboard_.string().value_or("");
        return;
    }
    if (flags & (modifier::control | modifier::function))
        return;
    if (event.keyCode == macKey::deleteKey) {
        // One character, not one byte.
        auto& text = target->text;
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        if (!text.empty())
            text.pop_back();
        return;
    }
    target->text += event.characters;
    // A document of a megabyte at most: the oldest text goes first.
    constexpr std::size_t maxText = 1 << 20;
    if (target->text.size() > maxText) {
        std::size_t cut = target->text.size() - maxText;
        while (cut < target->text.size() &&
               (static_cast<unsigned char>(target->text[cut]) & 0xC0) == 0x80)
            ++cut;
        target->text.erase(0, cut);
    }
}

void SimWindowServer::pressKeys(const std::string& text) {
    const auto combination = *parseCombination(text);
    const auto code = macKeyCodeForName(combination.key).value_or(0xFFFF);
    std::uint64_t held = 0;
    auto flagsChanged = [&](std::uint16_t key, std::uint64_t to) {
        held = to;
        deliver({.type = EventType::flagsChanged,
                 .location = cocoa(pointer_),
                 .keyCode = key,
                 .modifierFlags = held});
    };
    const std::pair<std::uint64_t, std::uint16_t> modifiers[] = {
        {modifier::control, macKey::control},
        {modifier::option, macKey::option},
        {modifier::shift, macKey::shift},
        {modifier::command, macKey::command},
        {modifier::function, macKey::function}};
    for (auto [flag, key] : modifiers)
        if (combination.flags & flag)
            flagsChanged(key, held | flag);
    std::string characters;
    if (combination.key.size() == 1) {
        const char plain = static_cast<char>(std::tolower(static_cast<unsigned char>(combination.key[0])));
        characters = (combination.flags & modifier::shift)
                         ? std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(plain))))
                         : std::string(1, plain);
    } else if (combination.key == "Space") {
        characters = " ";
    } else if (combination.key == "Return") {
        characters = "\r";
    } else if (combination.key == "Tab") {
        characters = "\t";
    }
    const InputEvent down{.type = EventType::keyDown,
                          .location = cocoa(pointer_),
                          .keyCode = static_cast<std::uint16_t>(code),
                          .characters = (combination.flags & (modifier::command | modifier::control))
                                            ? std::string()
                                            : characters,
                          .charactersIgnoringModifiers = characters,
                          .modifierFlags = held};
    deliver(down);
    InputEvent up = down;
    up.type = EventType::keyUp;
    deliver(up);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        if (combination.flags & it->first)
            flagsChanged(it->second, held & ~it->first);
}

void SimWindowServer::typeText(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        // One event per character, whole UTF-8 sequences.
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        const std::string character = text.substr(i, length);
        i += length;
        auto key = character.size() == 1 ? macKeyForCharacter(character[0]) : std::nullopt;
        const std::uint64_t flags = key && key->shift ? modifier::shift : 0;
        InputEvent down{.type = EventType::keyDown,
                        .location = cocoa(pointer_),
                        .keyCode = key ? key->code : macKey::noKey,
                        .characters = character == "\n" ? "\r" : character,
                        .charactersIgnoringModifiers = character == "\n" ? "\r" : character,
                        .modifierFlags = flags};
        deliver(down);
        down.type = EventType::keyUp;
        deliver(down);
    }
}

StatusBar::Token SimWindowServer::addItem(StatusBar::Item item) {
    return menuBar_.addItem(std::move(item));
}

void SimWindowServer::removeItem(StatusBar::Token token) {
    menuBar_.removeItem(token);
}

void SimWindowServer::setLength(StatusBar::Token token, double length) {
    menuBar_.setLength(token, length);
}

std::optional<Rect> SimWindowServer::buttonFrame(StatusBar::Token token) const {
    return menuBar_.buttonFrame(token);
}

Status SimWindowServer::capture(std::span<const std::uint16_t> keyCodes,
                                KeyCapture::Handler handler) {
    captured_.assign(keyCodes.begin(), keyCodes.end());
    captureHandler_ = std::move(handler);
    return success();
}

void SimWindowServer::release() {
    captured_.clear();
    captureHandler_ = nullptr;
}

Status SimWindowServer::post(const InputEvent& event) {
    if (event.type == EventType::none)
        return Error{"an event needs a type"};
    if (!isFinite(event.location))
        return Error{"an event's location must be finite"};
    deliver(event);
    return success();
}

Status SimWindowServer::postToPid(int pid, const InputEvent& event) {
    if (!app(pid))
        return Error{"no application with pid " + std::to_string(pid)};
    actOnKey(event, pid);
    return success();
}

Status SimWindowServer::warpCursor(Point to) {
    if (!isFinite(to))
        return Error{"the pointer's position must be finite"};
    pointer_ = onDesktop(cocoa(to));
    return success();
}

// As a Mac keeps the pointer: on a screen, at most on its last row and
// column; off every screen, at the nearest point of the nearest one.
Point SimWindowServer::onDesktop(Point at) const {
    const auto screens = displays_->screenList();
    std::optional<Point> nearest;
    double best = 0;
    for (const auto& screen : screens) {
        const Rect frame = flipped(screen.frame, screens);
        const Point inside{std::clamp(at.x, frame.minX(), std::max(frame.minX(), frame.maxX() - 1)),
                           std::clamp(at.y, frame.minY(), std::max(frame.minY(), frame.maxY() - 1))};
        const double distance = std::hypot(inside.x - at.x, inside.y - at.y);
        if (!nearest || distance < best) {
            nearest = inside;
            best = distance;
        }
    }
    return nearest.value_or(at);
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
               (entry.fixedSize ? "  fixed size" : "") + (entry.canMinimize ? "" : "  no minimize") +
               "\n";
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

#include "simmac/SimWindowServer.hpp"

#include <algorithm>

#include "platform/KeyCombinationParts.hpp"
#include "platform/MacKeyCodes.hpp"
#include "simmac/SimWindowServerElements.hpp"

namespace quorvane::platform::sim {

using namespace windowserver;

namespace {

// An element's role, when the role is what is asked.
std::optional<AttributeValue> roleAnswer(std::string_view name, std::string_view role) {
    if (name == ax::role)
        return std::string(role);
    return std::nullopt;
}

}  // namespace

// Accessibility: the elements of the simulated applications, windows,
// menus and Dock, their attributes and actions.

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
    switch (kindOf(element)) {
        case Kind::menuBar:
        case Kind::menuBarItem:
        case Kind::menu:
        case Kind::menuItem:
            return menuAttribute(element, name);
        case Kind::dockList:
        case Kind::dockItem:
        case Kind::dockExtra:
            return dockAttribute(element, name);
        default:
            return windowAttribute(element, name);
    }
}

// The attributes of applications, their windows and what is in them, and the desktop.
std::optional<AttributeValue> SimWindowServer::windowAttribute(Element element,
                                                               std::string_view name) {
    const int id = ownerOf(element);
    auto roleIs = [name](std::string_view role) { return roleAnswer(name, role); };
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
                        list.push_back(
                            make(Kind::window, static_cast<std::uint32_t>(candidate.number)));
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
        case Kind::desktop:
            return roleIs("AXScrollArea");
        default:
            return std::nullopt;
    }
}

// The attributes of the menu bar and the menus.
std::optional<AttributeValue> SimWindowServer::menuAttribute(Element element,
                                                             std::string_view name) {
    const int id = ownerOf(element);
    const std::uint32_t index = indexOf(element);
    auto roleIs = [name](std::string_view role) { return roleAnswer(name, role); };
    switch (kindOf(element)) {
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
                    return std::vector<Element>{
                        make(Kind::menu, static_cast<std::uint32_t>(id), index)};
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
        default:
            return std::nullopt;
    }
}

// The attributes of the Dock and its items.
std::optional<AttributeValue> SimWindowServer::dockAttribute(Element element,
                                                             std::string_view name) {
    const int id = ownerOf(element);
    auto roleIs = [name](std::string_view role) { return roleAnswer(name, role); };
    switch (kindOf(element)) {
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
        default:
            return std::nullopt;
    }
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
            std::erase_if(windows_,
                          [&](const Window& candidate) { return candidate.number == id; });
            return true;
        case Kind::menuItem: {
            if (action != ax::press)
                return false;
            const std::uint32_t index = indexOf(element);
            const auto& menus = app(id)->menus;
            if ((index >> 16) >= menus.size() ||
                (index & 0xFFFF) >= menus[index >> 16].items.size())
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

}  // namespace quorvane::platform::sim

#include "input/shortcuts/MenuReader.hpp"

#include <string>

namespace quorvane::input {

namespace {

namespace ax = platform::ax;
using platform::Element;
using Clock = std::chrono::steady_clock;

constexpr std::string_view systemMenuTitle = "Apple";
constexpr std::string_view extrasMenuBar = "AXExtrasMenuBar";

// Unique in the process: selections and favourites follow a key by it.
std::string freshKeyId() {
    static std::atomic<std::uint64_t> next{1};
    return "key-" + std::to_string(next.fetch_add(1));
}

class Walk {
  public:
    Walk(platform::Accessibility& accessibility, const MenuReadLimits& limits,
         const std::atomic<bool>* cancelled)
        : ax_(accessibility),
          limits_(limits),
          deadline_(Clock::now() + limits.time),
          cancelled_(cancelled) {}

    bool stopped() {
        if (!stopped_ && ((cancelled_ && cancelled_->load()) || Clock::now() >= deadline_))
            stopped_ = true;
        return stopped_;
    }
    // Counts one element; false once the walk is over.
    bool visit() {
        if (stopped())
            return false;
        if (++visited_ > limits_.items) {
            stopped_ = true;
            return false;
        }
        return true;
    }
    bool wasStopped() const { return stopped_; }

    // One call to the application; none once the walk is over, so that a
    // cancelled read ends after the call under way.
    template <class T>
    std::optional<T> read(Element element, std::string_view name) {
        if (stopped())
            return std::nullopt;
        return platform::attributeAs<T>(ax_, element, name);
    }
    std::string title(Element element) { return read<std::string>(element, ax::title).value_or(""); }
    std::vector<Element> children(Element element) {
        return read<std::vector<Element>>(element, ax::children).value_or(std::vector<Element>{});
    }

    // A top-level menu, or a submenu: `holder` is the menu bar item or menu
    // item whose children are the menu (or, in some programs, the items).
    ShortcutMenu menu(Element holder, std::string name, std::vector<std::string> paths, int depth) {
        ShortcutMenu menu{.name = std::move(name), .menuPaths = std::move(paths)};
        if (depth > limits_.depth) {
            stopped_ = true;
            return menu;
        }
        for (Element child : children(holder)) {
            if (!visit())
                break;
            if (read<std::string>(child, ax::role).value_or("") == ax::menuRole) {
                for (Element item : children(child)) {
                    if (!visit())
                        break;
                    this->item(item, menu, depth);
                }
            } else {
                this->item(child, menu, depth);
            }
        }
        return menu;
    }

    void item(Element element, ShortcutMenu& into, int depth) {
        // Every attribute of the item is asked for, as a menu item's
        // shortcut is spread over them.
        const auto title = read<std::string>(element, ax::title);
        const auto role = read<std::string>(element, ax::role);
        const auto commandCharacter = read<std::string>(element, ax::menuItemCmdChar);
        (void)read<std::string>(element, ax::menuItemMarkChar);
        const auto virtualKey = read<double>(element, ax::menuItemCmdVirtualKey);
        (void)read<double>(element, ax::menuItemCmdGlyph);
        const auto modifiers = read<double>(element, ax::menuItemCmdModifiers);
        if (stopped())
            return;
        if (role && *role != ax::menuItemRole)
            return;
        auto parts = keyParts(modifiers, virtualKey, commandCharacter);
        if (!parts.empty()) {
            into.keys.push_back({.id = freshKeyId(),
                                 .name = title.value_or(""),
                                 .axElement = element,
                                 .parts = std::move(parts),
                                 .menuPaths = into.menuPaths});
            return;
        }
        // An item without a shortcut may open a submenu.
        const auto below = children(element);
        if (below.empty() || !title)
            return;
        auto paths = into.menuPaths;
        paths.push_back(*title);
        auto sub = menu(element, *title, std::move(paths), depth + 1);
        if (!sub.keys.empty() || !sub.subMenus.empty())
            into.subMenus.push_back(std::move(sub));
    }

  private:
    platform::Accessibility& ax_;
    const MenuReadLimits& limits_;
    Clock::time_point deadline_;
    const std::atomic<bool>* cancelled_;
    std::size_t visited_ = 0;
    bool stopped_ = false;
};

}  // namespace

ShortcutInfo readMenus(platform::Accessibility& accessibility, int pid,
                       const MenuReadLimits& limits, const std::atomic<bool>* cancelled) {
    Walk walk(accessibility, limits, cancelled);
    const Element application = accessibility.application(pid);
    ShortcutInfo info{.name = walk.title(application)};
    bool first = true;
    for (std::string_view barName : {ax::menuBar, extrasMenuBar}) {
        if (walk.stopped())
            break;
        const auto bar = walk.read<Element>(application, barName);
        if (!bar)
            continue;
        for (Element top : walk.children(*bar)) {
            if (!walk.visit())
                break;
            std::string title = walk.title(top);
            const bool isSystemMenu = first && barName == ax::menuBar && title == systemMenuTitle;
            first = false;
            if (isSystemMenu)
                continue;
            auto menu = walk.menu(top, title, {title}, 1);
            if (!menu.keys.empty() || !menu.subMenus.empty())
                info.menus.push_back(std::move(menu));
        }
    }
    info.truncated = walk.wasStopped();
    return info;
}

}  // namespace quorvane::input

#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// An accessibility element of another application (a window, a button, a
// menu item, the application itself). Opaque and comparable; only the
// adapter that made it can read it.
class Element {
  public:
    Element() = default;
    explicit Element(std::uint64_t value) : value_(value) {}
    std::uint64_t value() const { return value_; }
    auto operator<=>(const Element&) const = default;

  private:
    std::uint64_t value_ = 0;
};

struct Url {
    std::string address{};
    bool operator==(const Url&) const = default;
};

// What an attribute holds. A list of elements is how "AXWindows" and
// "AXChildren" come back.
using AttributeValue =
    std::variant<std::string, bool, double, Point, Size, Element, std::vector<Element>, Url>;

// The names of the attributes, actions and values the tweaks use.
namespace ax {
inline constexpr std::string_view role = "AXRole";
inline constexpr std::string_view subrole = "AXSubrole";
inline constexpr std::string_view title = "AXTitle";
inline constexpr std::string_view parent = "AXParent";
inline constexpr std::string_view children = "AXChildren";
inline constexpr std::string_view window = "AXWindow";
inline constexpr std::string_view windows = "AXWindows";
inline constexpr std::string_view focusedWindow = "AXFocusedWindow";
inline constexpr std::string_view mainWindow = "AXMainWindow";
inline constexpr std::string_view position = "AXPosition";
inline constexpr std::string_view size = "AXSize";
inline constexpr std::string_view minimized = "AXMinimized";
inline constexpr std::string_view minimizeButton = "AXMinimizeButton";
inline constexpr std::string_view closeButton = "AXCloseButton";
inline constexpr std::string_view main = "AXMain";
inline constexpr std::string_view focused = "AXFocused";
inline constexpr std::string_view frontmost = "AXFrontmost";
inline constexpr std::string_view hidden = "AXHidden";
inline constexpr std::string_view enabled = "AXEnabled";
inline constexpr std::string_view url = "AXURL";
inline constexpr std::string_view menuBar = "AXMenuBar";
inline constexpr std::string_view enhancedUserInterface = "AXEnhancedUserInterface";
inline constexpr std::string_view menuItemCmdChar = "AXMenuItemCmdChar";
inline constexpr std::string_view menuItemCmdModifiers = "AXMenuItemCmdModifiers";
inline constexpr std::string_view menuItemCmdVirtualKey = "AXMenuItemCmdVirtualKey";
inline constexpr std::string_view menuItemCmdGlyph = "AXMenuItemCmdGlyph";
inline constexpr std::string_view menuItemMarkChar = "AXMenuItemMarkChar";

inline constexpr std::string_view press = "AXPress";
inline constexpr std::string_view raise = "AXRaise";

inline constexpr std::string_view applicationRole = "AXApplication";
inline constexpr std::string_view windowRole = "AXWindow";
inline constexpr std::string_view buttonRole = "AXButton";
inline constexpr std::string_view menuBarRole = "AXMenuBar";
inline constexpr std::string_view menuBarItemRole = "AXMenuBarItem";
inline constexpr std::string_view menuRole = "AXMenu";
inline constexpr std::string_view menuItemRole = "AXMenuItem";
inline constexpr std::string_view dockItemRole = "AXDockItem";
inline constexpr std::string_view standardWindowSubrole = "AXStandardWindow";
inline constexpr std::string_view applicationDockItemSubrole = "AXApplicationDockItem";
}  // namespace ax

// The accessibility interface to other applications' windows, menus and
// controls. Every failure (element gone, attribute unsupported, wrong type,
// an application that does not answer within the messaging timeout) is an
// absent value or false, never an error. Main thread; each call is bounded.
class Accessibility {
  public:
    // How long one call waits for an application that does not answer.
    static constexpr auto messagingTimeout = std::chrono::milliseconds(500);

    virtual ~Accessibility() = default;

    virtual Element systemWide() = 0;
    virtual Element application(int pid) = 0;
    // In accessibility space.
    virtual std::optional<Element> elementAt(Point point) = 0;
    virtual std::optional<AttributeValue> attribute(Element element, std::string_view name) = 0;
    virtual std::vector<Element> attributeValues(Element element, std::string_view name) = 0;
    virtual bool setAttribute(Element element, std::string_view name,
                              const AttributeValue& value) = 0;
    virtual std::optional<bool> isAttributeSettable(Element element, std::string_view name) = 0;
    virtual bool performAction(Element element, std::string_view action) = 0;
    virtual std::optional<int> pid(Element element) = 0;
};

// Set on the main thread while it answers a call carried there from
// another thread (MainThreadAccessibility): an adapter that would wait out a
// hung application adds the wait here instead, and the calling thread
// waits it, so the main thread does not stall for another thread's call.
inline thread_local std::chrono::milliseconds* deferredHungWait = nullptr;

// Typed reads: absent when missing or of another type.
template <class T>
std::optional<T> attributeAs(Accessibility& accessibility, Element element, std::string_view name) {
    auto value = accessibility.attribute(element, name);
    if (!value)
        return std::nullopt;
    if (auto* typed = std::get_if<T>(&*value))
        return *typed;
    return std::nullopt;
}

inline std::optional<std::string> role(Accessibility& accessibility, Element element) {
    return attributeAs<std::string>(accessibility, element, ax::role);
}
inline std::optional<Element> parent(Accessibility& accessibility, Element element) {
    return attributeAs<Element>(accessibility, element, ax::parent);
}
inline std::optional<Point> position(Accessibility& accessibility, Element element) {
    return attributeAs<Point>(accessibility, element, ax::position);
}
inline std::optional<Size> size(Accessibility& accessibility, Element element) {
    return attributeAs<Size>(accessibility, element, ax::size);
}
// Setting an absent value does nothing.
inline bool setPosition(Accessibility& accessibility, Element element, std::optional<Point> to) {
    return to && accessibility.setAttribute(element, ax::position, *to);
}
inline bool setSize(Accessibility& accessibility, Element element, std::optional<Size> to) {
    return to && accessibility.setAttribute(element, ax::size, *to);
}

}  // namespace quorvane::platform

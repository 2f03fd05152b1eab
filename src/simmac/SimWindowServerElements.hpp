#pragma once

// What the simulated window server's files share: how an accessibility
// element is coded (a kind, an owner and an index), the Dock's extra items
// and the sizes of the simulated chrome.

#include <cstdint>
#include <iterator>

#include "platform/Accessibility.hpp"

namespace quorvane::platform::sim::windowserver {

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

inline Element make(Kind kind, std::uint32_t owner = 0, std::uint32_t index = 0) {
    return Element((std::uint64_t(kind) << 56) | (std::uint64_t(owner & 0xFFFFFF) << 32) | index);
}
inline Kind kindOf(Element element) {
    return static_cast<Kind>(element.value() >> 56);
}
inline int ownerOf(Element element) {
    return static_cast<int>((element.value() >> 32) & 0xFFFFFF);
}
inline std::uint32_t indexOf(Element element) {
    return static_cast<std::uint32_t>(element.value() & 0xFFFFFFFF);
}

constexpr double dockItemWidth = 64;
constexpr double menuTitleWidth = 60;
constexpr double toolbarHeight = 32;
constexpr double buttonSize = 12;

}  // namespace quorvane::platform::sim::windowserver

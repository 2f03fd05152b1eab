#include "access/WindowService.hpp"

namespace quorvane::windows {

using namespace platform;

std::optional<Element> WindowService::window(Point point) {
    const auto screens = screens_.screens();
    auto element = accessibility_.elementAt(flipped(point, screens));
    if (!element)
        return std::nullopt;
    if (role(accessibility_, *element) == ax::windowRole)
        return element;
    if (auto up = parent(accessibility_, *element); up && role(accessibility_, *up) == ax::windowRole)
        return up;
    return attributeAs<Element>(accessibility_, *element, ax::window);
}

}  // namespace quorvane::windows

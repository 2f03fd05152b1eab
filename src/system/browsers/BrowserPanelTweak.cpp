#include "system/browsers/BrowserPanelTweak.hpp"

namespace quorvane::system {

std::vector<core::ExtraPanel::Item> BrowserPanelTweak::items(const Browser* marked) const {
    std::vector<core::ExtraPanel::Item> list;
    for (const Browser* browser : installed_)
        list.push_back({.id = std::string(browser->rawValue),
                        .title = std::string(browser->title),
                        .icon = {},
                        .marked = browser == marked,
                        .actions = {}});
    return list;
}

}  // namespace quorvane::system

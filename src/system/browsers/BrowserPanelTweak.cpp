#include "system/browsers/BrowserPanelTweak.hpp"

namespace quorvane::system {

core::ExtraPanel BrowserPanelTweak::extraView() const {
    // Each time the panel is shown: a browser installed meanwhile is there.
    read();
    const auto* self = this;
    return {.items =
                [self] {
                    std::vector<core::ExtraPanel::Item> list;
                    for (const Browser* browser : self->installed_)
                        list.push_back({.id = std::string(browser->rawValue),
                                        .title = std::string(browser->title),
                                        .icon = {},
                                        .marked = browser == self->marked(),
                                        .actions = {}});
                    return list;
                },
            .choose = [self](const std::string& rawValue) { self->choose(rawValue); },
            .act = {},
            .observe =
                [self](std::function<void()> changed) {
                    return self->changed_.subscribe([changed = std::move(changed)] { changed(); });
                },
            .emptyText = "No browser the tweak knows is installed."};
}

}  // namespace quorvane::system

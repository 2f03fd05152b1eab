#include "display/ScreenSelection.hpp"

#include <memory>

namespace quorvane::display {

std::set<std::string> namesOf(const std::vector<platform::Screen>& screens) {
    std::set<std::string> names;
    for (const auto& screen : screens)
        names.insert(screen.name);
    return names;
}

void ScreenSelection::set(const std::string& name, bool on) {
    const bool changedNow = on ? names_.insert(name).second : names_.erase(name) > 0;
    if (changedNow)
        changed.emit();
}

std::vector<platform::Screen> ScreenSelection::chosen(
    const std::vector<platform::Screen>& screens) const {
    std::vector<platform::Screen> found;
    for (const auto& screen : screens)
        if (names_.contains(screen.name))
            found.push_back(screen);
    return found;
}

core::FormSwitchList ScreenSelection::switches(std::function<std::vector<platform::Screen>()> screens,
                                               core::Signal<>& screensChanged,
                                               std::string emptyText) {
    return {.items =
                [this, screens] {
                    std::vector<core::FormSwitchList::Item> items;
                    for (const auto& screen : screens())
                        items.push_back({screen.id, screen.name, contains(screen.name)});
                    return items;
                },
            .set =
                [this, screens](const std::string& id, bool on) {
                    for (const auto& screen : screens())
                        if (screen.id == id) {
                            set(screen.name, on);
                            return;
                        }
                },
            .observe =
                [this, &screensChanged](std::function<void()> observer) {
                    auto both = std::make_shared<std::pair<core::Subscription, core::Subscription>>(
                        changed.subscribe(observer), screensChanged.subscribe(observer));
                    return core::Subscription([both] {
                        both->first.cancel();
                        both->second.cancel();
                    });
                },
            .emptyText = std::move(emptyText)};
}

}  // namespace quorvane::display

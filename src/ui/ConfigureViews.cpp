#include "ui/ConfigureViews.hpp"

#include "core/Tweak.hpp"

namespace quorvane::ui {

bool ConfigureViews::add(std::string id, Make make) {
    return byId_.emplace(std::move(id), std::move(make)).second;
}

void ConfigureViews::addForOthers(Make make) {
    others_.push_back(std::move(make));
}

QWidget* ConfigureViews::make(const std::shared_ptr<core::Tweak>& tweak, QWidget* parent) const {
    if (auto found = byId_.find(tweak->id()); found != byId_.end())
        return found->second(tweak, parent);
    for (const auto& other : others_)
        if (auto* view = other(tweak, parent))
            return view;
    return nullptr;
}

CustomConfigureViews ConfigureViews::maker() const {
    return [views = *this](const std::shared_ptr<core::Tweak>& tweak, QWidget* parent) {
        return views.make(tweak, parent);
    };
}

}  // namespace quorvane::ui

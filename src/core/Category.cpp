#include "core/Category.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::core {

std::string_view rawValue(Category category) {
    switch (category) {
        case Category::finder:
            return "Finder";
        case Category::browser:
            return "Browser";
        case Category::xcode:
            return "Xcode";
        case Category::system:
            return "System";
        case Category::dock:
            return "Dock";
        case Category::desktop:
            return "Desktop";
        case Category::statusMenu:
            return "Status Menu";
        case Category::script:
            return "Script";
        case Category::simulator:
            return "Simulator";
        case Category::screenshot:
            return "Screenshot";
        case Category::keyboard:
            return "Keyboard";
        case Category::photos:
            return "Photos";
        case Category::effect:
            return "Effect";
        case Category::display:
            return "Display";
        case Category::mouse:
            return "Mouse";
        case Category::window:
            return "Window";
        case Category::utility:
            return "Utility";
    }
    return "";
}

std::optional<Category> categoryFromRawValue(std::string_view raw) {
    for (Category category : allCategories)
        if (rawValue(category) == raw)
            return category;
    return std::nullopt;
}

std::string imageName(Category category) {
    return "Category/" + std::string(rawValue(category));
}

void to_json(nlohmann::json& json, Category category) {
    json = rawValue(category);
}

void from_json(const nlohmann::json& json, Category& category) {
    auto decoded = categoryFromRawValue(json.get<std::string>());
    if (!decoded)
        throw nlohmann::json::other_error::create(
            501, "unknown category \"" + json.get<std::string>() + "\"", &json);
    category = *decoded;
}

}  // namespace quorvane::core

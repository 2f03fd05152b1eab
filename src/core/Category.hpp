#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// The sidebar's categories, in the order they are listed. The raw value is
// both the title shown and the stored form.
enum class Category {
    finder,
    browser,
    xcode,
    system,
    dock,
    desktop,
    statusMenu,
    script,
    simulator,
    screenshot,
    keyboard,
    photos,
    effect,
    display,
    mouse,
    window,
    utility,
};

inline constexpr std::array allCategories{
    Category::finder,    Category::browser,    Category::xcode,      Category::system,
    Category::dock,      Category::desktop,    Category::statusMenu, Category::script,
    Category::simulator, Category::screenshot, Category::keyboard,   Category::photos,
    Category::effect,    Category::display,    Category::mouse,      Category::window,
    Category::utility,
};

std::string_view rawValue(Category category);
std::optional<Category> categoryFromRawValue(std::string_view raw);
// The image resource shown beside the category: "Category/" and the raw value.
std::string imageName(Category category);

// Stored as the raw value; any other string fails to decode.
void to_json(nlohmann::json& json, Category category);
void from_json(const nlohmann::json& json, Category& category);

}  // namespace quorvane::core

#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "core/Category.hpp"
#include "core/Preference.hpp"
#include "core/Tweak.hpp"
#include "core/Workflow.hpp"

namespace quorvane::core {

// The fixed lists behind the "New" and "Popular" groups, by id.
inline constexpr std::array<std::string_view, 8> newTweakIds{
    "ColorPickerTask",  "HideOtherWindowsTask", "AeroShakeTask",       "MirrorDisplayTask",
    "MouseJigglerTask", "AutoScrollTask",       "DefaultBrowserTweak", "OpenInBrowserTweak",
};
inline constexpr std::array<std::string_view, 7> popularTweakIds{
    "IncreaseBrightnessTask", "HighlightActiveWindowTask", "EmojiAliasTask", "ExtractTextTask",
    "EmojiPickerTask",        "ReverseScrollTask",         "AeroShakeTask",
};

// Which tweaks a list shows.
class TweakGroup {
  public:
    enum class Kind { category, workflow, all, new_, popular, random };

    static TweakGroup category(Category category) { return TweakGroup(category); }
    static TweakGroup workflow(Workflow workflow) { return TweakGroup(std::move(workflow)); }
    static TweakGroup all() { return TweakGroup(Kind::all); }
    static TweakGroup new_() { return TweakGroup(Kind::new_); }
    static TweakGroup popular() { return TweakGroup(Kind::popular); }
    // A fresh pick of at most five tweaks; the picking is the list's job.
    static TweakGroup random() { return TweakGroup(Kind::random); }

    Kind kind() const { return kind_; }
    const Category* categoryValue() const { return std::get_if<Category>(&value_); }
    const Workflow* workflowValue() const { return std::get_if<Workflow>(&value_); }

    // Workflow membership is read from `preference`'s memberships.
    bool includes(const Tweak& tweak, const Preference& preference) const;
    // The sidebar title: "All", "New", "Popular", "Random", the category's
    // title or the workflow's name.
    std::string title() const;

    bool operator==(const TweakGroup&) const = default;

  private:
    explicit TweakGroup(Kind kind) : kind_(kind) {}
    explicit TweakGroup(Category category) : kind_(Kind::category), value_(category) {}
    explicit TweakGroup(Workflow workflow) : kind_(Kind::workflow), value_(std::move(workflow)) {}

    Kind kind_;
    std::variant<std::monostate, Category, Workflow> value_;
};

bool isNewTweak(std::string_view id);
bool isPopularTweak(std::string_view id);

}  // namespace quorvane::core

template <>
struct std::hash<quorvane::core::TweakGroup> {
    std::size_t operator()(const quorvane::core::TweakGroup& group) const noexcept;
};

#pragma once

#include <optional>
#include <variant>

#include "core/TweakGroup.hpp"

namespace quorvane::core {

// What the main window's sidebar has selected: a list of tweaks, the
// Automation page or Settings.
class SidebarTag {
  public:
    enum class Kind { tweaks, automation, settings };

    static SidebarTag tweaks(TweakGroup group) { return SidebarTag(std::move(group)); }
    static SidebarTag automation() { return SidebarTag(Kind::automation); }
    static SidebarTag settings() { return SidebarTag(Kind::settings); }

    Kind kind() const { return kind_; }
    const TweakGroup* group() const { return group_ ? &*group_ : nullptr; }

    bool operator==(const SidebarTag&) const = default;

  private:
    explicit SidebarTag(Kind kind) : kind_(kind) {}
    explicit SidebarTag(TweakGroup group) : kind_(Kind::tweaks), group_(std::move(group)) {}

    Kind kind_;
    std::optional<TweakGroup> group_;
};

}  // namespace quorvane::core

#pragma once

#include "display/effects/EffectToggle.hpp"

namespace quorvane::display {

// Fireworks burst all over the screen while on: coloured light that adds
// up where sparks cross.
class FireworkTask final : public EffectToggle {
  public:
    using EffectToggle::EffectToggle;

  private:
    std::shared_ptr<particles::Scene> makeScene(const platform::Screen& main) override;
};

// Rain over the screen, and its splashes along the bottom of the visible
// frame (above the Dock), while on.
class RainTask final : public EffectToggle {
  public:
    static constexpr double splashHeight = 60;

    // The screen's frames at the last show.
    struct Manager {
        platform::Rect frame{};
        platform::Rect visibleFrame{};
    };

    using EffectToggle::EffectToggle;
    const Manager& manager() const { return *manager_; }

  private:
    std::shared_ptr<particles::Scene> makeScene(const platform::Screen& main) override;
    void covering(const platform::Screen& main) override { *manager_ = {main.frame, main.visibleFrame}; }

    // Shared with the scene, which lays itself out from it.
    std::shared_ptr<Manager> manager_ = std::make_shared<Manager>();
};

// Snow drifting down over the screen while on.
class SnowTask final : public EffectToggle {
  public:
    struct Manager {
        platform::Rect frame{};
        platform::Rect visibleFrame{};
    };

    using EffectToggle::EffectToggle;
    const Manager& manager() const { return *manager_; }

  private:
    std::shared_ptr<particles::Scene> makeScene(const platform::Screen& main) override;
    void covering(const platform::Screen& main) override { *manager_ = {main.frame, main.visibleFrame}; }

    // Shared with the scene, which lays itself out from it.
    std::shared_ptr<Manager> manager_ = std::make_shared<Manager>();
};

}  // namespace quorvane::display

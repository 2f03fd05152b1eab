#pragma once

#include "display/effects/EffectToggle.hpp"

namespace quorvane::display {

// Fireworks burst all over the screen while on: coloured light that adds
// up where sparks cross.
class FireworkTask final : public EffectToggle {
  public:
    using EffectToggle::EffectToggle;

  private:
    std::shared_ptr<particles::Scene> makeScene() override;
};

// An effect that keeps the main screen's frames at its last show.
class FramedEffect : public EffectToggle {
  public:
    struct Manager {
        platform::Rect frame{};
        platform::Rect visibleFrame{};
    };

    using EffectToggle::EffectToggle;
    const Manager& manager() const { return *manager_; }

  protected:
    // Shared with the scene, which may lay itself out from it.
    std::shared_ptr<Manager> manager_ = std::make_shared<Manager>();

  private:
    void covering(const platform::Screen& main) override { *manager_ = {main.frame, main.visibleFrame}; }
};

// Rain over the screen, and its splashes along the bottom of the visible
// frame (above the Dock), while on.
class RainTask final : public FramedEffect {
  public:
    static constexpr double splashHeight = 60;
    using FramedEffect::FramedEffect;

  private:
    std::shared_ptr<particles::Scene> makeScene() override;
};

// Snow drifting down over the screen while on.
class SnowTask final : public FramedEffect {
  public:
    using FramedEffect::FramedEffect;

  private:
    std::shared_ptr<particles::Scene> makeScene() override;
};

}  // namespace quorvane::display

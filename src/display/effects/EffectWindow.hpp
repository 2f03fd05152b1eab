#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "display/DisplayServices.hpp"
#include "particles/Scene.hpp"

namespace quorvane::display {

// One screen effect's window: clear, above other windows (level 25), over
// the whole main screen, every click and key passing to what lies below.
// It shows a particle scene that the window itself moves on.
class EffectWindow {
  public:
    static constexpr const char* needsCompositing =
        "Screen effects need a compositing window manager on this desktop";

    EffectWindow(DisplayServices& services, std::string owner) : services_(services), owner_(std::move(owner)) {}
    ~EffectWindow() { close(); }
    EffectWindow(const EffectWindow&) = delete;
    EffectWindow& operator=(const EffectWindow&) = delete;

    // Shows the scene over the main screen, or moves the shown window there
    // and brings it to the front. None: no main screen, nothing shown.
    std::optional<platform::Screen> show(const std::shared_ptr<particles::Scene>& scene);
    void close();
    bool isShown() const { return id_.has_value(); }
    const std::shared_ptr<particles::Scene>& scene() const { return description_.scene; }

  private:
    DisplayServices& services_;
    std::string owner_;
    std::optional<platform::Overlays::Id> id_;
    platform::OverlayDescription description_;
};

// Whether an effect can be seen on this desktop: without translucency its
// window would be an opaque black screen. Tells the user if not.
bool effectsCanBeSeen(DisplayServices& services, const std::string& tweakName);

// The scene systems' seed: the one the services fix, else a fresh one.
std::uint64_t effectSeed(const DisplayServices& services);

// Reads the preset `name` from the effects folder; a file that is missing
// or a field that is missing, unknown or out of range is logged, naming
// the file and the field, and gives none: that effect shows nothing.
std::optional<particles::Preset> loadEffectPreset(const DisplayServices& services, const std::string& owner,
                                                  const std::string& name);

// A layer filling the view with one system of the preset, if it loaded.
particles::Layer effectLayer(const DisplayServices& services, const std::string& owner, const std::string& preset,
                             std::uint64_t seed);

}  // namespace quorvane::display

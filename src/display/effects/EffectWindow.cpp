#include "display/effects/EffectWindow.hpp"

#include <random>

#include "core/RandomSeed.hpp"

namespace quorvane::display {

bool effectsCanBeSeen(DisplayServices& services, const std::string& tweakName) {
    if (services.overlays.translucencyWorks())
        return true;
    services.alerts.show({.style = platform::Alert::Style::warning,
                          .message = tweakName,
                          .informativeText = EffectWindow::needsCompositing});
    return false;
}

std::optional<platform::Screen> EffectWindow::show(const std::shared_ptr<particles::Scene>& scene) {
    const auto screens = services_.displays.screens();
    if (screens.empty() || !scene) {
        close();
        return std::nullopt;
    }
    const auto& main = screens.front();
    description_ = {.owner = owner_,
             .frame = main.frame,
             .level = platform::overlayLevel::effects,
             .passesInput = true,
             .takesFocus = false,
             .background = {0, 0, 0, 0},
             .content = platform::OverlayDescription::Content::particles,
             .scene = scene};
    scene->resize(main.frame.size.width, main.frame.size.height);
    if (id_)
        services_.overlays.update(*id_, description_);
    else
        id_ = services_.overlays.show(description_);
    return main;
}

void EffectWindow::close() {
    if (auto id = std::exchange(id_, std::nullopt))
        services_.overlays.close(*id);
    description_ = {};
}

std::uint64_t effectSeed(const DisplayServices& services) {
    if (services.effectSeed)
        return *services.effectSeed;
    return core::randomSeed();
}

// A preset is a page of JSON; anything far larger is not one.
constexpr std::size_t maxPresetBytes = 1u << 20;

std::optional<particles::Preset> loadEffectPreset(const DisplayServices& services, const std::string& owner,
                                                  const std::string& name) {
    const auto path = services.effects / (name + ".json");
    auto text = services.readFile ? services.readFile(path, maxPresetBytes)
                                  : platform::Result<std::optional<std::string>>(std::nullopt);
    if (!text || !text.value()) {
        services.log.error(owner, "the effect " + path.string() + " cannot be read" +
                                      (text ? "" : " (" + text.error().message + ")") +
                                      "; it shows nothing");
        return std::nullopt;
    }
    auto loaded = particles::parsePreset(*text.value());
    if (!loaded.preset)
        services.log.error(owner, "the effect " + path.string() + " is refused: its field \"" + loaded.field +
                                      "\" " + loaded.problem + "; it shows nothing");
    return std::move(loaded.preset);
}

particles::Layer effectLayer(const DisplayServices& services, const std::string& owner, const std::string& preset,
                             std::uint64_t seed) {
    particles::Layer layer;
    if (auto loaded = loadEffectPreset(services, owner, preset))
        layer.systems.emplace_back(std::move(*loaded), seed);
    return layer;
}

}  // namespace quorvane::display

#include "simmac/SimColorSampler.hpp"

namespace quorvane::platform::sim {

void SimColorSampler::sample(Picked picked) {
    const auto color = home_.sampledColor();
    journal_.record("SimulatedMac", "colour sampler",
                    color ? "picked " + hexText(*color)
                          : std::string("cancelled (quorvane sim color #rrggbb picks one)"));
    queue_.post([picked = std::move(picked), color] { picked(color); });
}

}  // namespace quorvane::platform::sim

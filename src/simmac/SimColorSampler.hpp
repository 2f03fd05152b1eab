#pragma once

#include "platform/ColorSampler.hpp"
#include "platform/Journal.hpp"
#include "platform/MainQueue.hpp"
#include "simmac/SimHome.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's colour sampler: the user picks the colour that
// `quorvane sim color` chose ("sampledColor" in its settings), or cancels
// when it chose none. Each sampling is journaled.
class SimColorSampler final : public ColorSampler {
  public:
    SimColorSampler(const SimHome& home, Journal& journal, MainQueue& queue)
        : home_(home), journal_(journal), queue_(queue) {}

    void sample(Picked picked) override;

  private:
    const SimHome& home_;
    Journal& journal_;
    MainQueue& queue_;
};

}  // namespace quorvane::platform::sim

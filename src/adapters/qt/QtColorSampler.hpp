#pragma once

#include <memory>
#include <vector>

#include "platform/ColorSampler.hpp"
#include "adapters/x11/WindowHolds.hpp"

namespace quorvane::platform::qt {

class FrozenScreenHold;

// The colour sampler on any desktop with a screen: once our own windows
// have had a moment to leave it, every screen is grabbed and shown frozen,
// with a loupe that follows the pointer and names the colour under it. A
// click picks that pixel (in sRGB); Escape or a right click cancels, and
// so does a main thread that stops answering (see FrozenScreenHold).
class QtColorSampler final : public ColorSampler {
  public:
    static constexpr int settleMilliseconds = 250;

    explicit QtColorSampler(x11::WindowHoldsSource holds = {});
    ~QtColorSampler() override;

    void sample(Picked picked) override;
    // Until the answer has been handed over.
    bool isOpen() const { return waiting_ || delivering_ || !windows_.empty(); }
    // Runs the event loop until the colour is picked or the sampler
    // cancelled: for a command run without an instance.
    void waitUntilClosed();

  private:
    class ScreenWindow;
    void open();
    void finish(std::optional<SampledColor> color);

    x11::WindowHoldsSource holds_;
    Picked picked_;
    bool waiting_ = false;
    bool delivering_ = false;
    std::vector<std::unique_ptr<ScreenWindow>> windows_;
    std::unique_ptr<FrozenScreenHold> hold_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace quorvane::platform::qt

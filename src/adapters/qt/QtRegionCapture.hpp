#pragma once

#include <memory>

#include "platform/ScreenCapture.hpp"
#include "adapters/qt/FrozenScreenOverlay.hpp"

namespace quorvane::platform::qt {

// The interactive screenshot on a desktop without one we can call: once our
// own windows have had a moment to leave the screen, every screen is
// grabbed and frozen under a FrozenScreenOverlay; the region dragged out
// comes back as PNG.
class QtRegionCapture final : public ScreenCapture {
  public:
    static constexpr int settleMilliseconds = 250;

    explicit QtRegionCapture(x11::WindowHoldsSource holds = {}) : holds_(std::move(holds)) {}
    void captureRegion(Done done) override;
    bool isOpen() const { return waiting_ || (overlay_ && overlay_->isOpen()); }
    // Runs the event loop until the region is chosen or the choice
    // cancelled: for a command run without an instance.
    void waitUntilClosed();

  private:
    x11::WindowHoldsSource holds_;
    std::unique_ptr<FrozenScreenOverlay> overlay_;
    bool waiting_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace quorvane::platform::qt

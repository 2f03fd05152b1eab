#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "core/Tweak.hpp"
#include "display/DisplayServices.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "platform/EventMonitors.hpp"

namespace quorvane::display {

// The notch-shaped panel the banner drops from; the front end draws it.
class NotchBannerPanel {
  public:
    virtual ~NotchBannerPanel() = default;
    // Shows the tweak's controls at `frame` (Cocoa space), opaque, in front.
    virtual void present(const platform::Rect& frame, const std::shared_ptr<core::Tweak>& tweak) = 0;
    // Fades to nothing over `duration`, then calls `done`.
    virtual void fadeOut(std::chrono::milliseconds duration, std::function<void()> done) = 0;
    virtual void orderOut() = 0;
    // Escape pressed on the panel.
    std::function<void()> onCancel;
};

// Shows the tweak just triggered in a banner at the top centre of the
// screen under the pointer, for five seconds or until a click elsewhere.
// Main thread.
class NotchBannerManager {
  public:
    static constexpr std::chrono::seconds autoDismissDelay{5};
    static constexpr std::chrono::milliseconds fadeDuration{150};
    static constexpr platform::Size panelSize{420, 240};

    NotchBannerManager(DisplayServices& services, platform::EventMonitors& monitors,
                       std::function<std::unique_ptr<NotchBannerPanel>()> makePanel);
    ~NotchBannerManager();

    void show(const std::shared_ptr<core::Tweak>& tweak);
    void dismiss();

    bool isShowing() const { return isShowing_; }
    bool isDismissing() const { return isDismissing_; }
    const std::shared_ptr<core::Tweak>& currentTweak() const { return currentTweak_; }
    bool isMonitoring() const { return monitor_.isRunning(); }

    // The panel's frame on a screen (Cocoa space): hanging from its top centre.
    static platform::Rect frameOn(const platform::Rect& screen);

  private:
    void hideNow();
    void clicked(const platform::InputEvent& event);

    DisplayServices& services_;
    platform::EventMonitors& monitors_;
    std::function<std::unique_ptr<NotchBannerPanel>()> makePanel_;
    std::unique_ptr<NotchBannerPanel> panel_;
    input::EventMonitor monitor_;
    platform::TimerToken autoDismiss_;
    platform::Rect frame_{};
    std::shared_ptr<core::Tweak> currentTweak_;
    bool isShowing_ = false;
    bool isDismissing_ = false;
    // Counts shows, so that a fade that ends after a newer show leaves it be.
    std::uint64_t shown_ = 0;
};

}  // namespace quorvane::display

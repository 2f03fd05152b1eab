#include "display/NotchBannerManager.hpp"

namespace quorvane::display {

NotchBannerManager::NotchBannerManager(DisplayServices& services,
                                       platform::EventMonitors& monitors,
                                       std::function<std::unique_ptr<NotchBannerPanel>()> makePanel)
    : services_(services),
      monitors_(monitors),
      makePanel_(std::move(makePanel)),
      monitor_(monitors, services.journal, services.log, "NotchBanner",
               platform::eventMask::dismissal,
               [this](const platform::InputEvent& event) { clicked(event); }) {}

NotchBannerManager::~NotchBannerManager() {
    autoDismiss_.cancel();
}

platform::Rect NotchBannerManager::frameOn(const platform::Rect& screen) {
    return {{screen.minX() + screen.size.width * 0.5 - panelSize.width / 2,
             screen.maxY() - panelSize.height},
            panelSize};
}

void NotchBannerManager::show(const std::shared_ptr<core::Tweak>& tweak) {
    if (!tweak)
        return;
    if (isShowing_)
        hideNow();
    const auto screens = services_.displays.screens();
    if (screens.empty())
        return;
    const platform::Point pointer = monitors_.mouseLocation();
    const platform::Screen* chosen = platform::screenAt(pointer, screens);
    currentTweak_ = tweak;
    isShowing_ = true;
    isDismissing_ = false;
    ++shown_;
    if (!panel_ && makePanel_) {
        panel_ = makePanel_();
        if (panel_)
            panel_->onCancel = [this] { dismiss(); };
    }
    frame_ = frameOn(chosen->frame);
    if (panel_)
        panel_->present(frame_, tweak);
    monitor_.start();
    autoDismiss_.cancel();
    autoDismiss_ = services_.mainQueue.after(autoDismissDelay, [this] { dismiss(); });
}

void NotchBannerManager::clicked(const platform::InputEvent& event) {
    if (isShowing_ && !frame_.contains(event.location))
        dismiss();
}

void NotchBannerManager::dismiss() {
    autoDismiss_.cancel();
    if (!isShowing_ || isDismissing_)
        return;
    isDismissing_ = true;
    const auto generation = shown_;
    auto finish = [this, generation] {
        // A newer banner came during the fade: it stays.
        if (generation != shown_)
            return;
        hideNow();
    };
    if (panel_)
        panel_->fadeOut(fadeDuration, finish);
    else
        finish();
}

void NotchBannerManager::hideNow() {
    if (panel_)
        panel_->orderOut();
    monitor_.stop();
    autoDismiss_.cancel();
    isShowing_ = false;
    isDismissing_ = false;
    currentTweak_.reset();
}

}  // namespace quorvane::display

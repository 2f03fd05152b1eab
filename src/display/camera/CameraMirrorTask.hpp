#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/CanToggle.hpp"
#include "core/Debouncer.hpp"
#include "core/Signal.hpp"
#include "core/Throttle.hpp"
#include "core/Tweak.hpp"
#include "display/DisplayServices.hpp"
#include "display/camera/MirrorConfiguration.hpp"

namespace quorvane::display {

// A camera's live picture in a small window above the others (a mirror),
// cut to a circle, a rounded rectangle or a squircle, dragged about by its
// picture. While the pointer is over it, a close button (which switches
// the tweak off) and a mirror button show. The capture session runs
// exactly while the mirror is shown: closing it stops the camera at once;
// starting follows a show through a throttle, at most twice a second.
class CameraMirrorTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    static constexpr const char* permissionNeeded =
        "Camera permission is needed. You can allow access in System Preferences -> Security & "
        "Privacy -> Camera";
    static constexpr const char* noCamera = "No camera";
    static constexpr double screenInset = 40;  // from the main screen's bottom-right corner

    CameraMirrorTask(core::TweakInfo info, bool core::MState::*field, DisplayServices& services);
    ~CameraMirrorTask() override;

    core::RunOutcome run() override;
    std::optional<std::string> ownUnavailableReason() const override;
    core::ConfigureForm configureView() const override;

    // What the configure view edits; applied 0.2 s after the last change.
    const MirrorConfiguration& configuration() const { return configuration_; }
    const MirrorConfiguration& edited() const { return edited_; }
    void edit(const std::function<void(MirrorConfiguration&)>& change);
    // "Check devices": the cameras there are now.
    void scanDevices();
    const std::vector<platform::CameraDevice>& devices() const { return devices_; }

    std::optional<platform::Overlays::Id> mirror() const { return overlay_; }
    const platform::CameraSession* session() const { return session_.get(); }
    // The pointer over the mirror (points from its top-left corner).
    void pointed(platform::Overlays::Pointer what, platform::Point at);

  private:
    void askThenShow();
    void showMirror();
    void closeMirror();
    void setUpSession();
    // The throttled follow-up: the session runs while the mirror shows.
    void followUp();
    void apply(MirrorConfiguration next);
    void keepOnScreen(double previousSide);
    void present(platform::VideoFrame frame);
    void problem(std::string reason);
    platform::OverlayDescription overlayDescription() const;
    void refresh();

    // The newest frame from the session's thread, waiting for the main one.
    struct FrameSlot {
        std::mutex mutex;
        platform::VideoFrame latest;
        bool posted = false;
    };

    DisplayServices& services_;
    MirrorConfiguration configuration_;
    MirrorConfiguration edited_;
    core::Debouncer applyLater_;
    core::Throttle<bool> followUps_;
    std::vector<platform::CameraDevice> devices_;
    core::Signal<> devicesChanged_;
    std::unique_ptr<platform::CameraSession> session_;
    bool supportsMirroring_ = false;
    bool supportsOrientation_ = false;
    std::optional<platform::Overlays::Id> overlay_;
    platform::Point origin_{};  // the mirror's bottom-left corner, Cocoa space
    bool placed_ = false;
    platform::MirrorPicture picture_;
    std::optional<platform::Point> dragFrom_;
    std::shared_ptr<FrameSlot> frames_ = std::make_shared<FrameSlot>();
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quorvane::display

#pragma once

#include "platform/Cameras.hpp"
#include "platform/Log.hpp"

namespace quorvane::platform::qt {

// The cameras Qt Multimedia finds (Video4Linux through GStreamer here).
// A camera is opened only when a session takes it, so a machine without
// one never makes a QCamera. The desktop asks no consent for cameras:
// access is always authorized. Frames are converted on the thread that
// delivers them. Main thread.
class QtCameras final : public Cameras {
  public:
    explicit QtCameras(Log& log) : log_(log) {}

    std::vector<CameraDevice> devices() override;
    std::optional<CameraDevice> defaultDevice() override;
    CameraAuthorization authorization() override { return CameraAuthorization::authorized; }
    void requestAccess(std::function<void(bool granted)> answer) override { answer(true); }
    std::unique_ptr<CameraSession> makeSession(CameraSession::FrameHandler frames,
                                               CameraSession::FailureHandler failed) override;

  private:
    Log& log_;
};

}  // namespace quorvane::platform::qt

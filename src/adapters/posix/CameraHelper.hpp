#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/Cameras.hpp"
#include "platform/Log.hpp"

namespace quorvane::platform::posix {

// The cameras through quorvane-camera, a process of its own (see
// CameraServer): the camera libraries (Qt Multimedia, GStreamer, GL) load
// there, and leave with it a while after no session runs. Frames come in
// shared memory, without a copy. A session whose helper left is made again
// on its next use, without its device: the failure handler hears of it
// when it was running. Main thread, except the handlers.
class CameraHelper final : public Cameras {
  public:
    CameraHelper(Log& log, std::filesystem::path program,
                 std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~CameraHelper() override;

    std::vector<CameraDevice> devices() override;
    std::optional<CameraDevice> defaultDevice() override;
    CameraAuthorization authorization() override;
    void requestAccess(std::function<void(bool granted)> answer) override;
    std::unique_ptr<CameraSession> makeSession(CameraSession::FrameHandler frames,
                                               CameraSession::FailureHandler failed) override;

    // The helper's process id while it runs.
    std::optional<pid_t> helper() const;

    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace quorvane::platform::posix

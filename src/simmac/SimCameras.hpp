#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Cameras.hpp"
#include "platform/Journal.hpp"
#include "platform/MainQueue.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's cameras: a "Built-in Camera" to begin with, each
// sending a test pattern (colour bars, white on the left, a band that
// moves across, its name and a clock) 15 times a second while a session
// runs. Access is authorized unless set otherwise; a request while it is
// not determined waits for `quorvane sim camera answer`. Every change is
// journaled. Main thread.
class SimCameras final : public Cameras {
  public:
    static constexpr const char* builtInCamera = "Built-in Camera";
    static constexpr int framesPerSecond = 15;
    static constexpr std::size_t maxDevices = 16;
    static constexpr const char* usage =
        "usage: quorvane sim camera [add NAME [WxH]... | remove NAME | access "
        "notDetermined|restricted|denied|authorized | answer allow|deny]";

    SimCameras(MainQueue& mainQueue, Journal& journal);
    ~SimCameras() override;

    std::vector<CameraDevice> devices() override;
    std::optional<CameraDevice> defaultDevice() override;
    CameraAuthorization authorization() override;
    void requestAccess(std::function<void(bool granted)> answer) override;
    std::unique_ptr<CameraSession> makeSession(CameraSession::FrameHandler frames,
                                               CameraSession::FailureHandler failed) override;

    // Whether the words make a `quorvane sim camera` command.
    static Status check(const std::vector<std::string>& words);
    // Carries one out; answers what `quorvane sim camera` shows afterwards.
    Result<std::string> perform(const std::vector<std::string>& words);
    // The devices, the access and each running session.
    std::string describe() const;

    // The picture a device sends `elapsed` seconds into a session (its
    // name and the clock only where fonts can be had: in an application).
    static VideoFrame testPattern(const std::string& name, CameraFormat format, double elapsed);

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace quorvane::platform::sim

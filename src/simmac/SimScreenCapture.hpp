#pragma once

#include <filesystem>
#include <thread>

#include "platform/MainQueue.hpp"
#include "platform/ScreenCapture.hpp"
#include "platform/ShellRunner.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's interactive screenshot: its stand-in tool
// ("screencapture -i PATH", which copies the picture `quorvane sim capture`
// set, or writes nothing when the selection is cancelled) runs on a thread
// of its own. The file lives in `folder` (private to the user) only while
// the tool runs: it is removed before, so a cancelled selection never
// reads an earlier capture, and after it is read.
class SimScreenCapture final : public ScreenCapture {
  public:
    static constexpr const char* fileName = "capture.png";

    SimScreenCapture(ShellRunner& shell, std::filesystem::path tool, std::filesystem::path folder,
                     MainQueue& mainQueue);
    ~SimScreenCapture() override;
    SimScreenCapture(const SimScreenCapture&) = delete;
    SimScreenCapture& operator=(const SimScreenCapture&) = delete;

    void captureRegion(Done done) override;
    // For a command run without an instance, which must see the capture
    // through: idle once its answer has been handled on the main queue;
    // waiting ends when the tool has and the answer is posted.
    bool isIdle() const { return !busy_; }
    void waitUntilIdle() {
        if (running_.joinable())
            running_.join();
    }

  private:
    ShellRunner& shell_;
    std::filesystem::path tool_;
    std::filesystem::path folder_;
    MainQueue& mainQueue_;
    std::thread running_;
    bool busy_ = false;
};

}  // namespace quorvane::platform::sim

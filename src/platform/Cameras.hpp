#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Result.hpp"
#include "platform/VideoFrame.hpp"

namespace quorvane::platform {

struct CameraDevice {
    std::string id{};
    std::string localizedName{};
    bool operator==(const CameraDevice&) const = default;
};

// Whether this program may use the cameras; a request answers the
// undetermined case.
enum class CameraAuthorization { notDetermined, restricted, denied, authorized };
const char* describe(CameraAuthorization authorization);

// How large a picture a session asks of its device (see `formatFor`).
enum class CameraPreset { photo, high, medium, low };
const char* describe(CameraPreset preset);

struct CameraFormat {
    int width = 0;
    int height = 0;
    bool operator==(const CameraFormat&) const = default;
};

// The format of a device a preset takes: photo the largest, high the one
// nearest 1280 × 720, medium the one nearest 640 × 480, low the smallest at
// least 320 wide. None when no format suits (no formats, or none wide
// enough for low).
std::optional<CameraFormat> formatFor(CameraPreset preset, std::span<const CameraFormat> formats);

// One capture session: input from one device, delivered as frames while it
// runs. Main thread, except the handlers, which any thread may call.
class CameraSession {
  public:
    using FrameHandler = std::function<void(VideoFrame)>;
    using FailureHandler = std::function<void(std::string reason)>;

    virtual ~CameraSession() = default;
    // Takes its input from the device; fails, keeping the input it had,
    // when the device is gone or cannot be opened.
    virtual Status setDevice(const std::string& id) = 0;
    virtual std::optional<std::string> device() const = 0;
    // A preset the device has no format for is refused: nothing changes.
    virtual bool setPreset(CameraPreset preset) = 0;
    virtual CameraPreset preset() const = 0;
    // The format the frames come in; none before a device is set.
    virtual std::optional<CameraFormat> format() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // Whether the picture can be mirrored and turned for this session.
    virtual bool supportsMirroring() const = 0;
    virtual bool supportsOrientation() const = 0;
};

// The cameras of this computer. Main thread.
class Cameras {
  public:
    virtual ~Cameras() = default;
    virtual std::vector<CameraDevice> devices() = 0;
    virtual std::optional<CameraDevice> defaultDevice() = 0;
    virtual CameraAuthorization authorization() = 0;
    // Asks the user for access; the answer may come on any thread, and
    // comes at once when the question is settled already.
    virtual void requestAccess(std::function<void(bool granted)> answer) = 0;
    // A session without input yet; `frames` gets each picture while it
    // runs, `failed` why it stopped on its own.
    virtual std::unique_ptr<CameraSession> makeSession(CameraSession::FrameHandler frames,
                                                       CameraSession::FailureHandler failed) = 0;
};

}  // namespace quorvane::platform

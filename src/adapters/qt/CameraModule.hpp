#pragma once

#include <QCoreApplication>

#include "platform/Cameras.hpp"
#include "adapters/qt/LazyModule.hpp"

namespace quorvane::platform::qt {

// The cameras through the camera module ("libquorvane_camera.so" beside
// the program, Qt Multimedia), loaded the first time a camera is asked
// for: a user who never shows one pays nothing for it. Without the module
// there are no cameras and no session; access is the module's to answer,
// and this host has no camera consent to ask.
class CameraModule final : public Cameras {
  public:
    static constexpr const char* factoryName = "quorvane_make_cameras";

    // `path` names the module file; empty: beside the running program.
    CameraModule(Log& log, QString path = {})
        : module_(log, "Camera", "camera module",
                  path.isEmpty() ? QCoreApplication::applicationDirPath() + "/libquorvane_camera.so" : path,
                  factoryName) {}

    std::vector<CameraDevice> devices() override {
        auto* cameras = module_.get();
        return cameras ? cameras->devices() : std::vector<CameraDevice>{};
    }
    std::optional<CameraDevice> defaultDevice() override {
        auto* cameras = module_.get();
        return cameras ? cameras->defaultDevice() : std::nullopt;
    }
    CameraAuthorization authorization() override {
        auto* cameras = module_.get();
        return cameras ? cameras->authorization() : CameraAuthorization::authorized;
    }
    void requestAccess(std::function<void(bool granted)> answer) override {
        if (auto* cameras = module_.get())
            return cameras->requestAccess(std::move(answer));
        answer(true);
    }
    std::unique_ptr<CameraSession> makeSession(CameraSession::FrameHandler frames,
                                               CameraSession::FailureHandler failed) override {
        auto* cameras = module_.get();
        return cameras ? cameras->makeSession(std::move(frames), std::move(failed)) : nullptr;
    }
    bool isLoaded() const { return module_.peek() != nullptr; }

  private:
    LazyModule<Cameras> module_;
};

}  // namespace quorvane::platform::qt

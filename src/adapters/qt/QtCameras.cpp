#include "adapters/qt/QtCameras.hpp"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>

namespace quorvane::platform::qt {

namespace {

CameraDevice deviceOf(const QCameraDevice& device) {
    return {.id = device.id().toStdString(), .localizedName = device.description().toStdString()};
}

std::vector<CameraFormat> formatsOf(const QCameraDevice& device) {
    std::vector<CameraFormat> formats;
    for (const auto& format : device.videoFormats())
        formats.push_back({format.resolution().width(), format.resolution().height()});
    return formats;
}

// The device's format of that size, at its highest frame rate.
QCameraFormat qtFormat(const QCameraDevice& device, CameraFormat wanted) {
    QCameraFormat best;
    for (const auto& format : device.videoFormats())
        if (format.resolution() == QSize(wanted.width, wanted.height) &&
            (best.isNull() || format.maxFrameRate() > best.maxFrameRate()))
            best = format;
    return best;
}

class QtCameraSession final : public CameraSession {
  public:
    QtCameraSession(Log& log, FrameHandler frames, FailureHandler failed)
        : log_(log), frames_(std::move(frames)), failed_(std::move(failed)) {
        capture_.setVideoSink(&sink_);
        // Converted where the frame arrives: the main thread only hears of it.
        QObject::connect(&sink_, &QVideoSink::videoFrameChanged, &sink_,
                         [this](const QVideoFrame& frame) { deliver(frame); }, Qt::DirectConnection);
    }
    ~QtCameraSession() override {
        stop();
        // No frame is delivered once the sink is out of the session.
        capture_.setVideoSink(nullptr);
        capture_.setCamera(nullptr);
    }

    Status setDevice(const std::string& id) override {
        for (const auto& device : QMediaDevices::videoInputs()) {
            if (device.id().toStdString() != id)
                continue;
            auto camera = std::make_unique<QCamera>(device);
            if (camera->error() != QCamera::NoError)
                return Error{camera->errorString().toStdString()};
            const bool wasRunning = running_;
            stop();
            capture_.setCamera(camera.get());
            QObject::connect(camera.get(), &QCamera::errorOccurred, camera.get(),
                             [this](QCamera::Error, const QString& text) { fail(text.toStdString()); });
            camera_ = std::move(camera);
            device_ = device;
            format_.reset();
            setPreset(preset_);
            if (wasRunning)
                start();
            return success();
        }
        return Error{"no camera \"" + id + "\""};
    }
    std::optional<std::string> device() const override {
        if (!camera_)
            return std::nullopt;
        return device_.id().toStdString();
    }
    bool setPreset(CameraPreset preset) override {
        if (!camera_) {
            preset_ = preset;
            return true;
        }
        const auto formats = formatsOf(device_);
        const auto format = formatFor(preset, formats);
        if (!format)
            return false;
        preset_ = preset;
        format_ = format;
        camera_->setCameraFormat(qtFormat(device_, *format));
        return true;
    }
    CameraPreset preset() const override { return preset_; }
    std::optional<CameraFormat> format() const override { return format_; }
    void start() override {
        if (!camera_ || running_)
            return;
        running_ = true;
        camera_->start();
    }
    void stop() override {
        if (!running_)
            return;
        running_ = false;
        if (camera_)
            camera_->stop();
    }
    bool isRunning() const override { return running_; }
    // The picture is mirrored and turned where it is painted.
    bool supportsMirroring() const override { return true; }
    bool supportsOrientation() const override { return true; }

  private:
    void deliver(const QVideoFrame& frame) {
        if (!frames_ || !frame.isValid())
            return;
        auto image = std::make_shared<QImage>(frame.toImage().convertToFormat(QImage::Format_RGB32));
        if (image->isNull())
            return;
        frames_({.width = image->width(),
                 .height = image->height(),
                 .stride = static_cast<int>(image->bytesPerLine() / 4),
                 .pixels = reinterpret_cast<const std::uint32_t*>(image->constBits()),
                 .owner = image});
    }
    void fail(const std::string& reason) {
        log_.warning("Camera", reason);
        stop();
        // A camera unplugged is no input any more: the next start takes another.
        bool present = false;
        for (const auto& device : QMediaDevices::videoInputs())
            present = present || device.id() == device_.id();
        if (!present) {
            capture_.setCamera(nullptr);
            // Its own signal brought us here: it goes once that returns.
            camera_.release()->deleteLater();
            format_.reset();
        }
        if (failed_)
            failed_(reason);
    }

    Log& log_;
    FrameHandler frames_;
    FailureHandler failed_;
    QMediaCaptureSession capture_;
    QVideoSink sink_;
    std::unique_ptr<QCamera> camera_;
    QCameraDevice device_;
    CameraPreset preset_ = CameraPreset::low;
    std::optional<CameraFormat> format_;
    bool running_ = false;
};

}  // namespace

std::vector<CameraDevice> QtCameras::devices() {
    std::vector<CameraDevice> list;
    for (const auto& device : QMediaDevices::videoInputs())
        list.push_back(deviceOf(device));
    return list;
}

std::optional<CameraDevice> QtCameras::defaultDevice() {
    // No inputs: no default to ask for.
    if (QMediaDevices::videoInputs().isEmpty())
        return std::nullopt;
    const auto device = QMediaDevices::defaultVideoInput();
    if (device.isNull())
        return std::nullopt;
    return deviceOf(device);
}

std::unique_ptr<CameraSession> QtCameras::makeSession(CameraSession::FrameHandler frames,
                                                      CameraSession::FailureHandler failed) {
    return std::make_unique<QtCameraSession>(log_, std::move(frames), std::move(failed));
}

}  // namespace quorvane::platform::qt

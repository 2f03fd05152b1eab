#include "simmac/SimCameras.hpp"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

namespace quorvane::platform::sim {

namespace {

constexpr const char* cause = "SimulatedMac";

const std::vector<CameraFormat>& standardFormats() {
    static const std::vector<CameraFormat> formats{{1920, 1080}, {1280, 720}, {640, 480}, {320, 240}};
    return formats;
}

std::optional<CameraAuthorization> authorizationNamed(const std::string& name) {
    for (auto value : {CameraAuthorization::notDetermined, CameraAuthorization::restricted,
                       CameraAuthorization::denied, CameraAuthorization::authorized})
        if (name == describe(value))
            return value;
    return std::nullopt;
}

// "640x480": both sides 16 to 4096.
std::optional<CameraFormat> formatNamed(const std::string& text) {
    const auto cross = text.find('x');
    if (cross == std::string::npos)
        return std::nullopt;
    CameraFormat format;
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto width = std::from_chars(begin, begin + cross, format.width);
    auto height = std::from_chars(begin + cross + 1, end, format.height);
    if (width.ec != std::errc() || width.ptr != begin + cross || height.ec != std::errc() ||
        height.ptr != end)
        return std::nullopt;
    if (format.width < 16 || format.height < 16 || format.width > 4096 || format.height > 4096)
        return std::nullopt;
    return format;
}

std::string formatText(CameraFormat format) {
    return std::to_string(format.width) + " × " + std::to_string(format.height);
}

}  // namespace

struct SimCameras::State {
    struct Device {
        CameraDevice device;
        std::vector<CameraFormat> formats;
    };
    class Session;

    MainQueue& mainQueue;
    Journal& journal;
    std::vector<Device> devices{};
    CameraAuthorization access = CameraAuthorization::authorized;
    std::vector<std::function<void(bool)>> pendingRequests{};
    std::vector<Session*> sessions{};
    int nextDevice = 1;

    State(MainQueue& queue, Journal& journal_) : mainQueue(queue), journal(journal_) {}

    const Device* find(const std::string& id) const {
        for (const auto& device : devices)
            if (device.device.id == id)
                return &device;
        return nullptr;
    }
    void record(const std::string& detail) { journal.record(cause, "camera", detail); }
    void deviceRemoved(const std::string& id);
};

class SimCameras::State::Session final : public CameraSession {
  public:
    Session(std::shared_ptr<State> state, FrameHandler frames, FailureHandler failed)
        : state_(std::move(state)), frames_(std::move(frames)), failed_(std::move(failed)) {
        state_->sessions.push_back(this);
    }
    ~Session() override {
        stop();
        std::erase(state_->sessions, this);
    }

    Status setDevice(const std::string& id) override {
        const auto* device = state_->find(id);
        if (!device)
            return Error{"no camera \"" + id + "\""};
        const auto format = formatFor(preset_, device->formats);
        device_ = id;
        name_ = device->device.localizedName;
        formats_ = device->formats;
        format_ = format ? format : std::optional<CameraFormat>(formats_.front());
        state_->record("session input " + name_);
        return success();
    }
    std::optional<std::string> device() const override { return device_; }
    bool setPreset(CameraPreset preset) override {
        if (!device_) {
            preset_ = preset;
            return true;
        }
        const auto format = formatFor(preset, formats_);
        if (!format) {
            state_->record(std::string("session preset ") + platform::describe(preset) + " refused by " + name_);
            return false;
        }
        preset_ = preset;
        format_ = format;
        state_->record(std::string("session preset ") + platform::describe(preset) + " (" + formatText(*format) + ")");
        return true;
    }
    CameraPreset preset() const override { return preset_; }
    std::optional<CameraFormat> format() const override { return format_; }
    void start() override {
        if (running_ || !device_)
            return;
        running_ = true;
        started_ = state_->mainQueue.now();
        state_->record("session started: " + name_);
        tick();
    }
    void stop() override {
        if (!running_)
            return;
        running_ = false;
        timer_.cancel();
        state_->record("session stopped: " + name_);
    }
    bool isRunning() const override { return running_; }
    bool supportsMirroring() const override { return true; }
    bool supportsOrientation() const override { return true; }

    std::string describe() const {
        return "Session " + std::string(running_ ? "running" : "stopped") + ": " + name_ + ", " +
               platform::describe(preset_) + (format_ ? " (" + formatText(*format_) + ")" : "");
    }
    const std::optional<std::string>& deviceId() const { return device_; }
    // Its device went away: it stops, has no input any more, and says so.
    void lost() {
        const bool wasRunning = running_;
        stop();
        device_.reset();
        format_.reset();
        if (wasRunning && failed_)
            failed_(name_ + " was disconnected");
    }

  private:
    void tick() {
        if (!running_ || !format_)
            return;
        const auto elapsed = std::chrono::duration<double>(state_->mainQueue.now() - started_).count();
        if (frames_)
            frames_(testPattern(name_, *format_, elapsed));
        timer_ = state_->mainQueue.after(std::chrono::milliseconds(1000 / framesPerSecond),
                                         [this] { tick(); });
    }

    std::shared_ptr<State> state_;
    FrameHandler frames_;
    FailureHandler failed_;
    std::optional<std::string> device_;
    std::string name_;
    std::vector<CameraFormat> formats_;
    CameraPreset preset_ = CameraPreset::high;
    std::optional<CameraFormat> format_;
    bool running_ = false;
    Instant started_{};
    TimerToken timer_;
};

void SimCameras::State::deviceRemoved(const std::string& id) {
    // A copy: a session told may go away.
    const auto told = sessions;
    for (auto* session : told)
        if (std::find(sessions.begin(), sessions.end(), session) != sessions.end() &&
            session->deviceId() == id)
            session->lost();
}

SimCameras::SimCameras(MainQueue& mainQueue, Journal& journal)
    : state_(std::make_shared<State>(mainQueue, journal)) {
    state_->devices.push_back({{"sim-camera-0", builtInCamera}, standardFormats()});
}

SimCameras::~SimCameras() {
    // Unanswered requests are answered no.
    auto pending = std::move(state_->pendingRequests);
    for (auto& answer : pending)
        answer(false);
}

std::vector<CameraDevice> SimCameras::devices() {
    std::vector<CameraDevice> list;
    for (const auto& device : state_->devices)
        list.push_back(device.device);
    return list;
}

std::optional<CameraDevice> SimCameras::defaultDevice() {
    if (state_->devices.empty())
        return std::nullopt;
    return state_->devices.front().device;
}

CameraAuthorization SimCameras::authorization() {
    return state_->access;
}

void SimCameras::requestAccess(std::function<void(bool granted)> answer) {
    if (state_->access != CameraAuthorization::notDetermined) {
        answer(state_->access == CameraAuthorization::authorized);
        return;
    }
    state_->record("access asked");
    state_->pendingRequests.push_back(std::move(answer));
}

std::unique_ptr<CameraSession> SimCameras::makeSession(CameraSession::FrameHandler frames,
                                                       CameraSession::FailureHandler failed) {
    return std::make_unique<State::Session>(state_, std::move(frames), std::move(failed));
}

Status SimCameras::check(const std::vector<std::string>& words) {
    const Error wrong{usage};
    if (words.empty())
        return success();
    const auto& verb = words[0];
    if (verb == "add") {
        if (words.size() < 2 || words[1].empty() || words[1].size() > 64)
            return wrong;
        for (std::size_t i = 2; i < words.size(); ++i)
            if (!formatNamed(words[i]))
                return Error{"a format is WIDTHxHEIGHT, each 16 to 4096, not \"" + words[i] + "\""};
        return success();
    }
    if (verb == "remove")
        return words.size() == 2 && !words[1].empty() ? success() : Status(wrong);
    if (verb == "access")
        return words.size() == 2 && authorizationNamed(words[1]) ? success() : Status(wrong);
    if (verb == "answer")
        return words.size() == 2 && (words[1] == "allow" || words[1] == "deny") ? success()
                                                                                : Status(wrong);
    return wrong;
}

Result<std::string> SimCameras::perform(const std::vector<std::string>& words) {
    if (auto checked = check(words); !checked)
        return checked.error();
    auto& state = *state_;
    if (words.empty())
        return describe();
    const auto& verb = words[0];
    if (verb == "add") {
        for (const auto& device : state.devices)
            if (device.device.localizedName == words[1])
                return Error{"there is a camera \"" + words[1] + "\" already"};
        if (state.devices.size() >= maxDevices)
            return Error{"the simulated Mac has " + std::to_string(maxDevices) + " cameras at most"};
        std::vector<CameraFormat> formats;
        for (std::size_t i = 2; i < words.size(); ++i)
            formats.push_back(*formatNamed(words[i]));
        if (formats.empty())
            formats = standardFormats();
        state.devices.push_back({{"sim-camera-" + std::to_string(state.nextDevice++), words[1]}, formats});
        state.record("connected " + words[1]);
    } else if (verb == "remove") {
        const auto found = std::find_if(state.devices.begin(), state.devices.end(), [&](const auto& device) {
            return device.device.localizedName == words[1];
        });
        if (found == state.devices.end())
            return Error{"no camera \"" + words[1] + "\""};
        const auto id = found->device.id;
        state.devices.erase(found);
        state.record("disconnected " + words[1]);
        state.deviceRemoved(id);
    } else if (verb == "access") {
        state.access = *authorizationNamed(words[1]);
        state.record(std::string("access ") + platform::describe(state.access));
    } else if (verb == "answer") {
        if (state.pendingRequests.empty())
            return Error{"no application is asking for camera access"};
        const bool allowed = words[1] == "allow";
        state.access = allowed ? CameraAuthorization::authorized : CameraAuthorization::denied;
        state.record(allowed ? "access allowed" : "access denied");
        auto pending = std::move(state.pendingRequests);
        state.pendingRequests.clear();
        for (auto& answer : pending)
            answer(allowed);
    }
    return describe();
}

std::string SimCameras::describe() const {
    const auto& state = *state_;
    std::string text = std::string("Camera access: ") + platform::describe(state.access);
    if (!state.pendingRequests.empty())
        text += " (asked, waiting for an answer)";
    text += "\n";
    if (state.devices.empty())
        text += "No camera is connected\n";
    for (std::size_t i = 0; i < state.devices.size(); ++i) {
        const auto& device = state.devices[i];
        text += device.device.localizedName + (i == 0 ? " (default):" : ":");
        for (const auto& format : device.formats)
            text += " " + std::to_string(format.width) + "x" + std::to_string(format.height);
        text += "\n";
    }
    bool any = false;
    for (const auto* session : state.sessions)
        if (session->isRunning()) {
            text += session->describe() + "\n";
            any = true;
        }
    if (!any)
        text += "No session is running\n";
    return text;
}

VideoFrame SimCameras::testPattern(const std::string& name, CameraFormat format, double elapsed) {
    auto image = std::make_shared<QImage>(format.width, format.height, QImage::Format_RGB32);
    {
        QPainter painter(image.get());
        static constexpr QRgb bars[] = {0xc0c0c0, 0xc0c000, 0x00c0c0, 0x00c000,
                                        0xc000c0, 0xc00000, 0x0000c0};
        const int count = int(std::size(bars));
        for (int i = 0; i < count; ++i) {
            const int left = format.width * i / count;
            const int right = format.width * (i + 1) / count;
            painter.fillRect(left, 0, right - left, format.height, QColor::fromRgb(bars[i]));
        }
        // A dark band crosses from left to right every four seconds.
        const int band = std::max(2, format.width / 16);
        const double phase = elapsed / 4 - static_cast<long long>(elapsed / 4);
        painter.fillRect(int(phase * (format.width + band)) - band, format.height / 3, band,
                         format.height / 3, QColor(16, 16, 16));
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            QFont font = painter.font();
            font.setPixelSize(std::max(8, format.height / 12));
            font.setBold(true);
            painter.setFont(font);
            painter.setPen(Qt::white);
            const int margin = format.height / 24;
            const QRect area(margin, margin, format.width - 2 * margin, format.height - 2 * margin);
            char clock[32];
            const auto tenths = static_cast<long long>(elapsed * 10);
            std::snprintf(clock, sizeof clock, "%02lld:%02lld.%lld", tenths / 600, tenths / 10 % 60,
                          tenths % 10);
            painter.fillRect(QRect(0, 0, format.width, font.pixelSize() + 2 * margin), QColor(0, 0, 0, 140));
            painter.drawText(area, Qt::AlignTop | Qt::AlignHCenter, QString::fromStdString(name));
            painter.fillRect(QRect(0, format.height - font.pixelSize() - 2 * margin, format.width,
                                   font.pixelSize() + 2 * margin),
                             QColor(0, 0, 0, 140));
            painter.drawText(area, Qt::AlignBottom | Qt::AlignHCenter, QString::fromLatin1(clock));
        }
    }
    return {.width = format.width,
            .height = format.height,
            .stride = static_cast<int>(image->bytesPerLine() / 4),
            .pixels = reinterpret_cast<const std::uint32_t*>(image->constBits()),
            .owner = image};
}

}  // namespace quorvane::platform::sim

#include "adapters/qt/ClickMixer.hpp"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/RecentHistory.hpp"

namespace quorvane::platform::qt {

namespace {

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr std::chrono::milliseconds outputBuffer{10};
constexpr std::chrono::milliseconds silentPeriod{5};
constexpr std::size_t keptLatencies = 1024;

}  // namespace

// Everything on the mixer's thread: the voices, the device the output
// pulls from, the output itself and the wake-up notifier.
class ClickMixer::Worker final : public QIODevice {
  public:
    Worker(ClickMixer& owner, PcmClip clip, Log& log, Options options)
        : owner_(owner), clip_(std::move(clip)), voices_(clip_), log_(log), options_(options) {}

    void begin() {
        open(QIODevice::ReadOnly);
        wake_ = new QSocketNotifier(qintptr(owner_.wakeFd_), QSocketNotifier::Read, this);
        QObject::connect(wake_, &QSocketNotifier::activated, this, [this] {
            std::uint64_t count = 0;
            (void)::read(owner_.wakeFd_, &count, sizeof count);
            resume();
        });
        QAudioFormat format;
        format.setSampleRate(clip_.sampleRate);
        format.setChannelCount(clip_.channels);
        format.setSampleFormat(QAudioFormat::Int16);
        const QAudioDevice device = options_.silent ? QAudioDevice() : QMediaDevices::defaultAudioOutput();
        if (!options_.silent && device.isNull())
            log_.info("Sound", "no audio output: key clicks are mixed but not heard");
        else if (!device.isNull() && !device.isFormatSupported(format))
            log_.warning("Sound", "the audio output cannot play " + std::to_string(clip_.sampleRate) +
                                      " Hz 16-bit sound: key clicks are not heard");
        if (!device.isNull() && device.isFormatSupported(format)) {
            sink_ = new QAudioSink(device, format, this);
            sink_->setBufferSize(bytesFor(outputBuffer));
            sink_->start(this);
        } else {
            owner_.silent_ = true;
            silentTimer_ = new QTimer(this);
            silentTimer_->setTimerType(Qt::PreciseTimer);
            silentTimer_->setInterval(silentPeriod);
            QObject::connect(silentTimer_, &QTimer::timeout, this, [this] {
                char scratch[8192];
                (void)read(scratch, std::min<qint64>(sizeof scratch, bytesFor(silentPeriod)));
            });
            silentTimer_->start();
        }
        lastClick_ = nowNs();
    }

    std::vector<std::int64_t> latencies() const {
        std::lock_guard lock(latencyMutex_);
        return latencies_;
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return bytesFor(outputBuffer) + QIODevice::bytesAvailable(); }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 frameBytes = 2 * clip_.channels;
        const qint64 frames = std::min(maxSize, bytesFor(outputBuffer)) / frameBytes;
        if (frames <= 0)
            return 0;
        const std::int64_t now = nowNs();
        while (auto request = owner_.queue_.pop()) {
            voices_.start(request->variation);
            ++owner_.started_;
            lastClick_ = now;
            std::lock_guard lock(latencyMutex_);
            platform::keepRecent(latencies_, (now - request->pushedAt) / 1000, keptLatencies);
        }
        const std::size_t samples = std::size_t(frames) * std::size_t(clip_.channels);
        buffer_.assign(samples, 0);
        voices_.mixInto(buffer_);
        std::memcpy(data, buffer_.data(), samples * 2);
        if (voices_.sounding() == 0 && now - lastClick_ > std::chrono::nanoseconds(options_.idleAfter).count() &&
            !sleepQueued_) {
            sleepQueued_ = true;
            QMetaObject::invokeMethod(this, [this] { sleep(); }, Qt::QueuedConnection);
        }
        return frames * frameBytes;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    qint64 bytesFor(std::chrono::milliseconds span) const {
        return qint64(clip_.sampleRate) * span.count() / 1000 * 2 * clip_.channels;
    }

    void sleep() {
        sleepQueued_ = false;
        if (voices_.sounding() > 0)
            return;
        owner_.sleeping_ = true;
        if (sink_)
            sink_->suspend();
        if (silentTimer_)
            silentTimer_->stop();
        // A click pushed just before the flag went up would find nobody
        // to wake.
        if (!owner_.queue_.empty() && owner_.sleeping_.exchange(false))
            resume();
    }

    void resume() {
        owner_.sleeping_ = false;
        lastClick_ = nowNs();
        if (sink_ && sink_->state() == QAudio::SuspendedState)
            sink_->resume();
        if (silentTimer_ && !silentTimer_->isActive()) {
            silentTimer_->start();
            // The first pull at once, not a period later.
            char scratch[8192];
            (void)read(scratch, std::min<qint64>(sizeof scratch, bytesFor(silentPeriod)));
        }
    }

    ClickMixer& owner_;
    PcmClip clip_;
    ClickVoices voices_;
    Log& log_;
    Options options_;
    QSocketNotifier* wake_ = nullptr;
    QAudioSink* sink_ = nullptr;
    QTimer* silentTimer_ = nullptr;
    std::vector<std::int16_t> buffer_;
    std::int64_t lastClick_ = 0;
    bool sleepQueued_ = false;
    mutable std::mutex latencyMutex_;
    std::vector<std::int64_t> latencies_;
};

ClickMixer::ClickMixer(PcmClip clip, Log& log, Options options) {
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread_.setObjectName(QStringLiteral("Key clicks"));
    worker_ = new Worker(*this, std::move(clip), log, options);
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::started, worker_, [worker = worker_] { worker->begin(); });
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

ClickMixer::~ClickMixer() {
    thread_.quit();
    thread_.wait();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

bool ClickMixer::push(Variation variation) {
    if (!queue_.push({variation, nowNs()})) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    if (sleeping_.exchange(false)) {
        const std::uint64_t one = 1;
        (void)::write(wakeFd_, &one, sizeof one);
    }
    return true;
}

QObject* ClickMixer::threadContext() const {
    return worker_;
}

std::vector<std::int64_t> ClickMixer::latencies() const {
    return worker_ ? worker_->latencies() : std::vector<std::int64_t>{};
}

}  // namespace quorvane::platform::qt

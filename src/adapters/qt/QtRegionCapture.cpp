#include "adapters/qt/QtRegionCapture.hpp"

#include <QBuffer>
#include <QCoreApplication>
#include <QTimer>

#include "adapters/posix/FreeHeap.hpp"

namespace quorvane::platform::qt {

namespace {

std::string pngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

}  // namespace

void QtRegionCapture::captureRegion(Done done) {
    if (isOpen()) {
        done(std::nullopt);
        return;
    }
    waiting_ = true;
    QTimer::singleShot(settleMilliseconds, [this, alive = std::weak_ptr<int>(alive_),
                                            done = std::move(done)]() mutable {
        if (alive.expired())
            return;
        waiting_ = false;
        overlay_ = std::make_unique<FrozenScreenOverlay>(
            [this, done = std::move(done)](std::optional<QImage> region) {
                overlay_.reset();
                std::optional<std::string> picture;
                if (region && !region->isNull())
                    picture = pngOf(*region);
                region.reset();
                done(std::move(picture));
                // The frozen screen and its grab were megabytes each.
                posix::giveBackFreeHeap();
            },
            holds_);
    });
}

void QtRegionCapture::waitUntilClosed() {
    while (isOpen())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

}  // namespace quorvane::platform::qt

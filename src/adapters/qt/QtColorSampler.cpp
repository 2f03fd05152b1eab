#include "adapters/qt/QtColorSampler.hpp"

#include <QColorSpace>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "adapters/qt/FrozenScreenOverlay.hpp"
#include "adapters/qt/Loupe.hpp"

namespace quorvane::platform::qt {

namespace {

// The grab as sRGB pixels, 32 bits each: what the loupe reads and what a
// click reports.
QImage srgbPixels(const QPixmap& grab) {
    QImage image = grab.toImage();
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    return image.convertToFormat(QImage::Format_RGB32);
}

SampledColor colorOf(QRgb pixel) {
    return {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
            static_cast<std::uint8_t>(qBlue(pixel))};
}

}  // namespace

class QtColorSampler::ScreenWindow final : public FrozenScreenWindow {
  public:
    ScreenWindow(QtColorSampler& owner, QScreen* screen)
        : FrozenScreenWindow(screen, QStringLiteral("Quorvane colour sampler")),
          owner_(owner), pixels_(srgbPixels(grab_)) {}

    void begin() {
        start();
        const QPoint inside = mapFromGlobal(QCursor::pos(screen()));
        if (QRect(QPoint(), size()).contains(inside))
            moveTo(inside);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(QRect(QPoint(), size()), grab_);
        if (!pointing_)
            return;
        // Beside the pointer, on whichever side has room.
        const int gap = 24;
        const int labelHeight = 22;
        QPoint corner = pointer_ + QPoint(gap, gap);
        if (corner.x() + Loupe::side > width())
            corner.rx() = pointer_.x() - gap - Loupe::side;
        if (corner.y() + Loupe::side + labelHeight > height())
            corner.ry() = pointer_.y() - gap - Loupe::side - labelHeight;
        const QRect lens(corner, QSize(Loupe::side, Loupe::side));
        painter.drawImage(lens.topLeft(), loupe_.image());
        const int middle = Loupe::cells / 2 * Loupe::zoom;
        // The picked cell, outlined to show on light and dark alike.
        const QRect cell(corner + QPoint(middle, middle), QSize(Loupe::zoom, Loupe::zoom));
        painter.setPen(QPen(QColor(0, 0, 0), 1));
        painter.drawRect(cell.adjusted(-2, -2, 1, 1));
        painter.setPen(QPen(QColor(255, 255, 255), 1));
        painter.drawRect(cell.adjusted(-1, -1, 0, 0));
        painter.setPen(QPen(QColor(0, 0, 0, 200), 2));
        painter.drawRect(lens);
        const QRect label(lens.bottomLeft() + QPoint(0, 2), QSize(Loupe::side, labelHeight - 2));
        painter.fillRect(label, QColor(0, 0, 0, 190));
        painter.setPen(Qt::white);
        painter.drawText(label, Qt::AlignCenter,
                         QString::fromStdString(hexText(colorOf(centre_))));
    }
    void mouseMoveEvent(QMouseEvent* event) override { moveTo(event->position().toPoint()); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton) {
            owner_.finish(std::nullopt);
            return;
        }
        if (event->button() != Qt::LeftButton)
            return;
        moveTo(event->position().toPoint());
        owner_.finish(colorOf(centre_));
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape)
            owner_.finish(std::nullopt);
    }

  private:
    void moveTo(QPoint point) {
        const qreal ratio = grab_.devicePixelRatio();
        const QPoint pixel(qFloor(point.x() * ratio), qFloor(point.y() * ratio));
        centre_ = loupe_.render(pixels_, pixel);
        pointer_ = point;
        pointing_ = true;
        update();
    }

    QtColorSampler& owner_;
    QImage pixels_;
    Loupe loupe_;
    QPoint pointer_;
    QRgb centre_ = 0;
    bool pointing_ = false;
};

QtColorSampler::QtColorSampler(x11::WindowHoldsSource holds) : holds_(std::move(holds)) {}

QtColorSampler::~QtColorSampler() {
    picked_ = nullptr;
    hold_.reset();
    windows_.clear();
}

void QtColorSampler::sample(Picked picked) {
    if (isOpen()) {
        picked(std::nullopt);
        return;
    }
    picked_ = std::move(picked);
    waiting_ = true;
    QTimer::singleShot(settleMilliseconds, [this, alive = std::weak_ptr<int>(alive_)] {
        if (!alive.expired())
            open();
    });
}

void QtColorSampler::open() {
    waiting_ = false;
    // Grab every screen first, then show: no window of ours in any grab.
    for (QScreen* screen : QGuiApplication::screens())
        windows_.push_back(std::make_unique<ScreenWindow>(*this, screen));
    if (windows_.empty()) {
        finish(std::nullopt);
        return;
    }
    std::vector<FrozenScreenWindow*> shown;
    for (auto& window : windows_) {
        window->begin();
        shown.push_back(window.get());
    }
    hold_ = std::make_unique<FrozenScreenHold>(holds_, shown, [this] { finish(std::nullopt); });
}

void QtColorSampler::finish(std::optional<SampledColor> color) {
    hold_.reset();
    for (auto& window : windows_)
        window->hide();
    // The window whose event brought us here is still on the stack: it
    // goes once the event is done.
    auto closing = std::make_shared<std::vector<std::unique_ptr<ScreenWindow>>>(std::move(windows_));
    windows_.clear();
    auto picked = std::move(picked_);
    picked_ = nullptr;
    delivering_ = true;
    QTimer::singleShot(0, [this, alive = std::weak_ptr<int>(alive_), closing,
                           picked = std::move(picked), color]() mutable {
        closing->clear();
        if (picked)
            picked(color);
        if (!alive.expired())
            delivering_ = false;
    });
}

void QtColorSampler::waitUntilClosed() {
    while (isOpen())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

}  // namespace quorvane::platform::qt

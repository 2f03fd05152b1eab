#include "adapters/qt/FrozenScreenOverlay.hpp"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "adapters/posix/FreeHeap.hpp"

namespace quorvane::platform::qt {

namespace {

// The screen's grab, read on Qt's X thread: megabytes that must go back
// once the window goes.
QPixmap grabOf(QScreen* screen) {
    posix::keepBigBlocksOutOfTheHeap();
    return screen->grabWindow(0);
}

}  // namespace

FrozenScreenWindow::FrozenScreenWindow(QScreen* screen, const QString& title)
    : grab_(grabOf(screen)) {
    setScreen(screen);
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
             Qt::Tool);
    setGeometry(screen->geometry());
    // Modal too: opened over an alert (itself modal), the newer modal
    // window takes the keys and the mouse, so the picker is not frozen
    // behind the alert until it is dismissed.
    setModality(Qt::ApplicationModal);
    setCursor(Qt::CrossCursor);
    setTitle(title);
}

void FrozenScreenWindow::start() {
    show();
    raise();
    requestActivate();
}

FrozenScreenHold::FrozenScreenHold(const x11::WindowHoldsSource& holds,
                                   const std::vector<FrozenScreenWindow*>& windows,
                                   std::function<void()> letGo) {
    if (auto* watched = holds ? holds() : nullptr) {
        std::vector<std::uint32_t> native;
        for (auto* window : windows)
            native.push_back(static_cast<std::uint32_t>(window->winId()));
        const x11::WindowHolds::Ended ended = [letGo = std::move(letGo)](const std::string&) {
            if (letGo)
                letGo();
        };
        if (auto grabbed = watched->grab(native, ended))
            held_ = std::move(grabbed).value();
        else
            held_ = watched->cover(native, ended);  // another program has the input
        return;
    }
    for (auto* window : windows) {
        window->setKeyboardGrabEnabled(true);
        window->setMouseGrabEnabled(true);
        grabbedByQt_.emplace_back(window);
    }
}

FrozenScreenHold::~FrozenScreenHold() {
    held_.reset();
    for (const auto& window : grabbedByQt_)
        if (window) {
            window->setKeyboardGrabEnabled(false);
            window->setMouseGrabEnabled(false);
        }
}

class FrozenScreenOverlay::ScreenWindow final : public FrozenScreenWindow {
  public:
    ScreenWindow(FrozenScreenOverlay& owner, QScreen* screen)
        : FrozenScreenWindow(screen, QStringLiteral("Quorvane screen selection")), owner_(owner) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect whole(QPoint(), size());
        painter.drawPixmap(whole, grab_);
        painter.fillRect(whole, QColor(0, 0, 0, 110));
        if (const QRect chosen = selection(); !chosen.isEmpty()) {
            const qreal ratio = grab_.devicePixelRatio();
            painter.drawPixmap(chosen, grab_,
                               QRectF(chosen.x() * ratio, chosen.y() * ratio,
                                      chosen.width() * ratio, chosen.height() * ratio));
            painter.setPen(QPen(QColor(255, 255, 255, 230), 1));
            painter.drawRect(chosen.adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        dragging_ = true;
        from_ = to_ = event->position().toPoint();
        update();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!dragging_)
            return;
        to_ = event->position().toPoint();
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!dragging_ || event->button() != Qt::LeftButton)
            return;
        dragging_ = false;
        to_ = event->position().toPoint();
        const QRect chosen = selection();
        if (chosen.width() < minimumDrag || chosen.height() < minimumDrag) {
            owner_.finish(std::nullopt);
            return;
        }
        const qreal ratio = grab_.devicePixelRatio();
        const QRect pixels(qRound(chosen.x() * ratio), qRound(chosen.y() * ratio),
                           qRound(chosen.width() * ratio), qRound(chosen.height() * ratio));
        owner_.finish(grab_.toImage().copy(pixels));
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape)
            owner_.finish(std::nullopt);
    }

  private:
    // The pixels between the press and the pointer: a drag of 200 points is
    // 200 wide, the point under the release left out.
    QRect selection() const {
        const QRect dragged(QPoint(std::min(from_.x(), to_.x()), std::min(from_.y(), to_.y())),
                            QSize(std::abs(to_.x() - from_.x()), std::abs(to_.y() - from_.y())));
        return dragged.intersected(QRect(QPoint(), size()));
    }

    FrozenScreenOverlay& owner_;
    QPoint from_;
    QPoint to_;
    bool dragging_ = false;
};

FrozenScreenOverlay::FrozenScreenOverlay(Chosen chosen, const x11::WindowHoldsSource& holds)
    : chosen_(std::move(chosen)) {
    // Grab every screen first, then show: no window of ours in any grab.
    for (QScreen* screen : QGuiApplication::screens())
        windows_.push_back(std::make_unique<ScreenWindow>(*this, screen));
    std::vector<FrozenScreenWindow*> shown;
    for (auto& window : windows_) {
        window->start();
        shown.push_back(window.get());
    }
    hold_ = std::make_unique<FrozenScreenHold>(holds, shown, [this] { finish(std::nullopt); });
}

FrozenScreenOverlay::~FrozenScreenOverlay() {
    chosen_ = nullptr;
    hold_.reset();
    windows_.clear();
}

void FrozenScreenOverlay::finish(std::optional<QImage> region) {
    if (windows_.empty())
        return;
    hold_.reset();
    for (auto& window : windows_)
        window->hide();
    // The window whose event brought us here is still on the stack: it
    // goes once the event is done.
    auto closing = std::make_shared<std::vector<std::unique_ptr<ScreenWindow>>>(std::move(windows_));
    windows_.clear();
    auto chosen = std::move(chosen_);
    QTimer::singleShot(0, [closing, chosen = std::move(chosen), region = std::move(region)]() mutable {
        closing->clear();
        if (chosen)
            chosen(std::move(region));
    });
}

}  // namespace quorvane::platform::qt

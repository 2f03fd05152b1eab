#include "ui/notch/NotchBannerPanel.hpp"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "core/CanToggle.hpp"
#include "adapters/qt/QtPaths.hpp"
#include "adapters/qt/QtScreens.hpp"
#include "ui/EmojiImages.hpp"
#include "ui/Looks.hpp"
#include "ui/Switch.hpp"

namespace quorvane::ui {

NotchBannerView::NotchBannerView(Actions actions, QWidget* parent)
    : QWidget(parent), actions_(std::move(actions)) {
    setObjectName("NotchBannerView");
    icon_ = new QLabel(this);
    name_ = new QLabel(this);
    name_->setObjectName("BannerName");
    name_->setStyleSheet("color: white; font-weight: 600;");
    name_->setWordWrap(true);
    switch_ = new Switch(QString(), this);
    // The off track is drawn in the text colour: light, on the black notch.
    tint(switch_, Qt::white);
    run_ = new QPushButton(tr("Run"), this);
    QObject::connect(switch_, &Switch::toggled, this, [this](bool on) {
        if (tweak_ && actions_.switchToggle && core::asToggle(*tweak_) &&
            core::asToggle(*tweak_)->isOn() != on)
            actions_.switchToggle(tweak_, on);
    });
    QObject::connect(run_, &QPushButton::clicked, this, [this] {
        if (tweak_ && actions_.runOneShot)
            actions_.runOneShot(tweak_);
    });
    growth_ = new QPropertyAnimation(this);
    growth_->setTargetObject(this);
    growth_->setDuration(400);
    growth_->setEasingCurve(QEasingCurve::OutCubic);
    growth_->setStartValue(notchHeight);
    growth_->setEndValue(notchHeight + expandedHeight);
    QObject::connect(growth_, &QPropertyAnimation::valueChanged, this,
                     [this](const QVariant& value) { setShownHeight(value.toInt()); });
}

void NotchBannerView::showTweak(const std::shared_ptr<core::Tweak>& tweak) {
    tweak_ = tweak;
    icon_->setPixmap(EmojiImages::image(QString::fromStdString(tweak->icon()), 40));
    name_->setText(QString::fromStdString(tweak->name()));
    auto* toggle = core::asToggle(*tweak);
    switch_->setVisible(toggle != nullptr);
    run_->setVisible(toggle == nullptr);
    if (toggle) {
        const QSignalBlocker quiet(switch_);
        switch_->setChecked(toggle->isOn());
    }
    switch_->setEnabled(tweak->isAvailable());
    run_->setEnabled(tweak->isAvailable());
    growth_->stop();
    setShownHeight(notchHeight);
    // A moment as a notch, then it grows to show the controls.
    QTimer::singleShot(50, growth_, [this] { growth_->start(); });
}

void NotchBannerView::setShownHeight(int height) {
    height_ = height;
    placeContent();
    if (auto* panel = window())
        panel->setMask(QRegion(platform::qt::painterPath(platform::bannerOutline(
                                                             {double(width()), double(height_)},
                                                             notchWidth))
                                   .toFillPolygon()
                                   .toPolygon()));
    update();
}

void NotchBannerView::placeContent() {
    const int left = (width() - notchWidth) / 2 + 16;
    const int revealed = height_ - notchHeight;
    const bool visible = revealed > 40;
    for (QWidget* part : std::initializer_list<QWidget*>{icon_, name_})
        part->setVisible(visible);
    if (tweak_) {
        const bool isToggle = core::asToggle(*tweak_) != nullptr;
        switch_->setVisible(visible && isToggle);
        run_->setVisible(visible && !isToggle);
    }
    icon_->setGeometry(left, notchHeight + 24, 44, 44);
    name_->setGeometry(left + 56, notchHeight + 24, notchWidth - 32 - 56 - 70, 44);
    switch_->setGeometry(left + notchWidth - 32 - 56, notchHeight + 34, 52, 28);
    run_->adjustSize();
    run_->move(left + notchWidth - 32 - run_->width(), notchHeight + 32);
}

void NotchBannerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(platform::qt::painterPath(platform::bannerOutline(
                         {double(width()), double(height_)}, notchWidth)),
                     Qt::black);
    if (height_ - notchHeight > 40) {
        QColor gray(128, 128, 128);
        gray.setAlphaF(0.3f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(gray);
        painter.drawRoundedRect(QRectF(width() / 2.0 - 18, height_ - 16, 36, 8), 4, 4);
    }
}

NotchBannerPanel::NotchBannerPanel(NotchBannerView::Actions actions)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint) {
    setObjectName("NotchBannerPanel");
    setAttribute(Qt::WA_TranslucentBackground);
    // A panel that takes clicks but never the keyboard: the window whose
    // switch brought it up keeps focus, so typing carries on there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(tr("Notch banner"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    view_ = new NotchBannerView(std::move(actions), this);
    column->addWidget(view_);
    fade_ = new QPropertyAnimation(this, "windowOpacity", this);
}

void NotchBannerPanel::present(const platform::Rect& frame,
                               const std::shared_ptr<core::Tweak>& tweak) {
    fade_->stop();
    const platform::Rect primary = platform::qt::QtScreens::primaryRootFrame();
    setGeometry(static_cast<int>(std::lround(primary.origin.x + frame.origin.x)),
                static_cast<int>(std::lround(primary.origin.y + primary.size.height - frame.maxY())),
                static_cast<int>(frame.size.width), static_cast<int>(frame.size.height));
    setWindowOpacity(1.0);
    view_->showTweak(tweak);
    show();
    raise();
}

void NotchBannerPanel::fadeOut(std::chrono::milliseconds duration, std::function<void()> done) {
    fade_->stop();
    QObject::disconnect(fade_, &QPropertyAnimation::finished, nullptr, nullptr);
    fade_->setDuration(static_cast<int>(duration.count()));
    fade_->setStartValue(windowOpacity());
    fade_->setEndValue(0.0);
    QObject::connect(fade_, &QPropertyAnimation::finished, this, [done = std::move(done)] {
        if (done)
            done();
    });
    fade_->start();
}

void NotchBannerPanel::orderOut() {
    fade_->stop();
    hide();
}

void NotchBannerPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && onCancel) {
        onCancel();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quorvane::ui

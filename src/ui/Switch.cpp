#include "ui/Switch.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace quorvane::ui {

namespace {

constexpr int titleGap = 10;
constexpr int focusMargin = 3;

}  // namespace

Switch::Switch(const QString& title, QWidget* parent) : QAbstractButton(parent) {
    setText(title);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(title.isEmpty() ? QSizePolicy::Fixed : QSizePolicy::Preferred,
                  QSizePolicy::Fixed);
}

QSize Switch::sizeHint() const {
    const int textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text()) + titleGap;
    const int height = std::max(trackHeight, fontMetrics().height()) + 2 * focusMargin;
    return {textWidth + trackWidth + 2 * focusMargin, height};
}

QRect Switch::trackRect() const {
    return {width() - trackWidth - focusMargin, (height() - trackHeight) / 2, trackWidth,
            trackHeight};
}

void Switch::checkStateSet() {
    // Set from code (the Store changed): no animation, the state is simply so.
    if (slide_)
        slide_->stop();
    position_ = isChecked() ? 1.0 : 0.0;
    update();
}

void Switch::nextCheckState() {
    QAbstractButton::nextCheckState();
    slideTo(isChecked());
}

void Switch::slideTo(bool on) {
    if (!slide_) {
        slide_ = std::make_unique<QVariantAnimation>();
        slide_->setDuration(140);
        slide_->setEasingCurve(QEasingCurve::OutCubic);
        connect(slide_.get(), &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            position_ = value.toReal();
            update();
        });
    }
    slide_->stop();
    slide_->setStartValue(position_);
    slide_->setEndValue(on ? 1.0 : 0.0);
    slide_->start();
}

void Switch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const bool enabled = isEnabled();
    if (!text().isEmpty()) {
        painter.setPen(colours.color(enabled ? QPalette::Active : QPalette::Disabled,
                                     QPalette::WindowText));
        const QRect textArea(0, 0, trackRect().left() - titleGap, height());
        painter.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft, text());
    }

    const QRectF track = trackRect();
    const qreal radius = track.height() / 2;
    // Off: a grey that reads on light and dark windows alike.
    QColor off = colours.color(QPalette::WindowText);
    off.setAlphaF(0.22f);
    const QColor on = colours.color(QPalette::Active, QPalette::Highlight);
    const auto share = static_cast<float>(position_);
    auto between = [share](float from, float to) { return from + (to - from) * share; };
    QColor fill = on;
    fill.setRedF(between(off.redF(), on.redF()));
    fill.setGreenF(between(off.greenF(), on.greenF()));
    fill.setBlueF(between(off.blueF(), on.blueF()));
    fill.setAlphaF(between(off.alphaF(), 1.0f));
    if (!enabled)
        fill.setAlphaF(fill.alphaF() * 0.45f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    if (hasFocus()) {
        QColor ring = colours.color(QPalette::Active, QPalette::Highlight);
        ring.setAlphaF(0.55f);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ring, 2.5));
        painter.drawRoundedRect(track.adjusted(-2, -2, 2, 2), radius + 2, radius + 2);
        painter.setPen(Qt::NoPen);
    }

    const qreal inset = 2;
    const qreal knob = track.height() - 2 * inset;
    const qreal travel = track.width() - 2 * inset - knob;
    const QRectF knobRect(track.left() + inset + travel * position_, track.top() + inset, knob,
                          knob);
    // A soft shadow under a white knob.
    painter.setBrush(QColor(0, 0, 0, enabled ? 45 : 20));
    painter.drawEllipse(knobRect.translated(0, 0.8));
    painter.setBrush(enabled ? QColor(Qt::white) : QColor(0xf2, 0xf2, 0xf2));
    painter.drawEllipse(knobRect);
}

}  // namespace quorvane::ui

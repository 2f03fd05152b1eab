#pragma once

#include <QAbstractButton>
#include <QVariantAnimation>
#include <memory>

namespace quorvane::ui {

// An on/off switch: a rounded track with a knob that slides across, in the
// palette's highlight colour when on. Space toggles it when it has the
// focus, which a ring shows; accessibility sees a checkable button with its
// name and state. An optional title stands to its left.
class Switch final : public QAbstractButton {
  public:
    explicit Switch(QWidget* parent = nullptr) : Switch(QString(), parent) {}
    explicit Switch(const QString& title, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Where the knob is, 0 (off) to 1 (on), animated between.
    qreal knobPosition() const { return position_; }

    static constexpr int trackWidth = 34;
    static constexpr int trackHeight = 20;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void checkStateSet() override;
    void nextCheckState() override;
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }

  private:
    QRect trackRect() const;
    void slideTo(bool on);

    qreal position_ = 0;
    // Made at the first slide: most switches in a list never move.
    std::unique_ptr<QVariantAnimation> slide_;
};

}  // namespace quorvane::ui

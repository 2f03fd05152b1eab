#pragma once

#include <QPropertyAnimation>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/Tweak.hpp"
#include "display/NotchBannerManager.hpp"

class QLabel;
class QPushButton;

namespace quorvane::ui {

class Switch;

// The banner's content: a black notch that grows down to show the tweak's
// icon, name, and its switch or Run button.
class NotchBannerView final : public QWidget {
  public:
    static constexpr int notchWidth = 400;
    static constexpr int notchHeight = 32;
    static constexpr int expandedHeight = 208;

    struct Actions {
        std::function<void(const std::shared_ptr<core::Tweak>&, bool on)> switchToggle;
        std::function<void(const std::shared_ptr<core::Tweak>&)> runOneShot;
    };

    NotchBannerView(Actions actions, QWidget* parent);
    void showTweak(const std::shared_ptr<core::Tweak>& tweak);
    // How far it has grown: notchHeight to notchHeight + expandedHeight.
    int shownHeight() const { return height_; }
    void setShownHeight(int height);
    Switch* toggle() const { return switch_; }
    QPushButton* runButton() const { return run_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void placeContent();

    Actions actions_;
    std::shared_ptr<core::Tweak> tweak_;
    int height_ = notchHeight;
    QLabel* icon_;
    QLabel* name_;
    Switch* switch_;
    QPushButton* run_;
    QPropertyAnimation* growth_;
};

// The panel the banner manager shows: frameless, above other windows,
// clear around its shape. Escape cancels it.
class NotchBannerPanel final : public QWidget, public display::NotchBannerPanel {
  public:
    explicit NotchBannerPanel(NotchBannerView::Actions actions);

    void present(const platform::Rect& frame, const std::shared_ptr<core::Tweak>& tweak) override;
    void fadeOut(std::chrono::milliseconds duration, std::function<void()> done) override;
    void orderOut() override;
    NotchBannerView* view() const { return view_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    NotchBannerView* view_;
    QPropertyAnimation* fade_;
};

}  // namespace quorvane::ui

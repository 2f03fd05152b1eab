#pragma once

#include "ui/Switch.hpp"
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <memory>

#include "core/Tweak.hpp"

namespace quorvane::ui {

// One tweak in a list: its emoji, name and description, and a switch for a
// toggle or a Run button for a one-shot tweak. A tweak whose behaviour is
// not in this build says so.
class TweakCell final : public QFrame {
  public:
    struct Actions {
        std::function<void(const std::shared_ptr<core::Tweak>&, bool on)> switchToggle;
        std::function<void(const std::shared_ptr<core::Tweak>&)> runOneShot;
        std::function<void(const std::shared_ptr<core::Tweak>&, const QPoint& globalPosition)>
            showMenu;
        std::function<void(const std::shared_ptr<core::Tweak>&)> showInfo;
    };

    // `narrow`: for the popover, where descriptions wrap (wrapping text
    // costs layout time, so wide lists do without).
    TweakCell(std::shared_ptr<core::Tweak> tweak, Actions actions, bool narrow,
              QWidget* parent = nullptr);

    const std::shared_ptr<core::Tweak>& tweak() const { return tweak_; }
    // Shows the toggle's state as the Store holds it now.
    void updateState();

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    std::shared_ptr<core::Tweak> tweak_;
    Actions actions_;
    Switch* toggle_ = nullptr;
};

}  // namespace quorvane::ui

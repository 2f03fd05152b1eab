#pragma once

#include <QMessageBox>
#include <QPointer>
#include <deque>

#include "platform/Alerts.hpp"

namespace quorvane::ui {

// Alerts as application-modal message boxes with one "OK" button. They do
// not block the caller: each box closes itself. Nobody may be there to
// close them, so they do not pile up: a new alert with the message of an
// open one (the same tweak) replaces its text, and past `maxOpen` the
// oldest box closes.
class AlertPanel final : public platform::Alerts {
  public:
    static constexpr int readableWidth = 420;
    static constexpr std::size_t maxOpen = 5;

    void show(const platform::Alert& alert) override;
    QMessageBox* lastShown() const { return last_; }
    std::size_t openCount();

  private:
    void forgetClosed();

    QPointer<QMessageBox> last_;
    std::deque<QPointer<QMessageBox>> open_;  // oldest first
};

}  // namespace quorvane::ui

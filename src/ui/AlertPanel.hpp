#pragma once

#include <QMessageBox>
#include <QPointer>

#include "platform/Alerts.hpp"

namespace quorvane::ui {

// Alerts as application-modal message boxes with one "OK" button. They do
// not block the caller: each box closes itself.
class AlertPanel final : public platform::Alerts {
  public:
    void show(const platform::Alert& alert) override;
    QMessageBox* lastShown() const { return last_; }

  private:
    QPointer<QMessageBox> last_;
};

}  // namespace quorvane::ui

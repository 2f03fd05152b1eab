#pragma once

#include <QMessageBox>
#include <QPointer>

#include "platform/Confirmations.hpp"

namespace quorvane::ui {

// Asks in a message box that does not block the event loop: the default
// button cancels, so a stray Return key runs nothing.
class ConfirmationPanel final : public platform::Confirmations {
  public:
    void ask(const platform::Confirmation& confirmation, Answer answer) override;
    // The box on screen, for tests.
    QMessageBox* last() const { return last_; }

  private:
    QPointer<QMessageBox> last_;
};

}  // namespace quorvane::ui

#pragma once

#include <QSystemTrayIcon>
#include <map>
#include <memory>

#include "platform/StatusBar.hpp"

namespace quorvane::ui {

// Our extra menu-bar items on a desktop with a status area: one
// QSystemTrayIcon each, its template image drawn in code.
class TrayStatusBar final : public platform::StatusBar {
  public:
    Token addItem(Item item) override;
    void removeItem(Token token) override;
    void setLength(Token token, double length) override;
    std::optional<platform::Rect> buttonFrame(Token token) const override;
    bool lengthsMoveOtherItems() const override { return false; }

  private:
    std::map<Token, std::unique_ptr<QSystemTrayIcon>> items_;
    Token next_ = 1;
};

}  // namespace quorvane::ui

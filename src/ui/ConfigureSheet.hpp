#pragma once

#include <QDialog>
#include <QScrollArea>
#include <functional>
#include <memory>

#include "core/Tweak.hpp"
#include "platform/Hotkeys.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::ui {

// The few configure views that cannot be a form (they choose files, show
// results) are made here, by tweak id; nothing for other tweaks.
using CustomConfigureViews =
    std::function<QWidget*(const std::shared_ptr<core::Tweak>& tweak, QWidget* parent)>;

// The configure sheet: a tweak's custom view if it has one, else its
// declarative form, else a word that there is nothing to set.
class ConfigureSheet final : public QDialog {
  public:
    // With `hotkeys`, the sheet also records the tweak's global shortcut;
    // `describe` names the tweak holding a combination that is taken.
    ConfigureSheet(const std::shared_ptr<core::Tweak>& tweak,
                   const CustomConfigureViews& customViews, platform::UserDefaults& defaults,
                   platform::Hotkeys* hotkeys = nullptr,
                   std::function<QString(const std::string&)> describe = {},
                   QWidget* parent = nullptr);

    // The content, in a scroll area sized to it up to most of the screen.
    QScrollArea* content() const { return scroll_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void sizeToContent(QWidget* content);

    QScrollArea* scroll_ = nullptr;
};

// The tweak's information: its explanation and documentation page.
class InfoDialog final : public QDialog {
  public:
    InfoDialog(const core::Tweak& tweak, QWidget* parent = nullptr);
};

}  // namespace quorvane::ui

#pragma once

#include <QObject>
#include <QPointer>
#include <QWindow>

#include <map>
#include <memory>

#include "adapters/x11/WindowHolds.hpp"

namespace quorvane::platform::qt {

// Qt grabs the keyboard and the pointer itself while a popup is open (the
// status item's popover, the emoji picker, a menu). Installed on the
// application, this watches each popup shown through the program's watched
// holds: when the main thread stops answering, the grab ends and the popup
// goes, as every other grab of ours does; the popup is closed once the main
// thread is back. Main thread only.
class PopupHolds final : public QObject {
  public:
    explicit PopupHolds(x11::WindowHoldsSource holds);
    ~PopupHolds() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    x11::WindowHoldsSource source_;
    std::map<QWindow*, std::unique_ptr<x11::WindowHolds::Hold>> held_;
};

}  // namespace quorvane::platform::qt

#pragma once

#include <QElapsedTimer>
#include <QObject>

#include "platform/MainQueue.hpp"

namespace quorvane::platform::qt {

// The main queue on Qt's event loop. Construct it on the main thread, after
// the application object.
class QtMainQueue final : public MainQueue {
  public:
    QtMainQueue();

    void post(Task task) override;
    Instant now() const override;

  protected:
    TimerToken schedule(Duration delay, Task task) override;

  private:
    QObject context_;
    QElapsedTimer clock_;
};

}  // namespace quorvane::platform::qt

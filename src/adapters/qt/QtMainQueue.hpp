#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <memory>

#include "platform/MainQueue.hpp"

namespace quorvane::platform::qt {

// The main queue on Qt's event loop. Construct it on the main thread, after
// the application object.
class QtMainQueue final : public MainQueue {
  public:
    QtMainQueue();

    void post(Task task) override;
    Instant now() const override;
    // Posted tasks not yet run (delayed calls are not counted).
    int pendingPosts() const { return *pending_; }

  protected:
    TimerToken schedule(Duration delay, Task task) override;

  private:
    void arm(Instant deadline, std::shared_ptr<bool> cancelled, Task task);

    QObject context_;
    QElapsedTimer clock_;
    // Shared with the posted tasks, which may outlive the queue.
    std::shared_ptr<std::atomic<int>> pending_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace quorvane::platform::qt

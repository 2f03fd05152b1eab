#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <vector>

namespace quorvane::platform::qt {

// Turns SIGINT, SIGTERM and the like into a call on the main thread, through
// a socket pair written from the signal handler, so that Ctrl-C and a
// session's logout go through the normal termination path and save.
class UnixSignalWatcher final : public QObject {
  public:
    using Handler = std::function<void(int signal)>;

    // Only one may exist at a time. When the socket pair cannot be made the
    // watcher stays inert and the signals keep their default action.
    UnixSignalWatcher(std::vector<int> signalNumbers, Handler handler);
    ~UnixSignalWatcher() override;

    UnixSignalWatcher(const UnixSignalWatcher&) = delete;
    UnixSignalWatcher& operator=(const UnixSignalWatcher&) = delete;

  private:
    void readSignal();

    Handler handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<int> signalNumbers_;
};

}  // namespace quorvane::platform::qt

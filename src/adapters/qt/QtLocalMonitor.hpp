#pragma once

#include <QObject>

#include "platform/EventMonitors.hpp"
#include "platform/MonitorRegistry.hpp"

namespace quorvane::platform::qt {

// Monitors of the input that goes to this program's own windows, on every
// host: an application event filter, installed only while a monitor exists.
// A handler answering true consumes the event.
class QtLocalMonitor final : public QObject, public LocalEventMonitors {
  public:
    QtLocalMonitor();
    ~QtLocalMonitor() override;

    Token addLocal(EventMask mask, Handler handler) override;
    void remove(Token token) override;
    bool isFiltering() const { return filtering_; }

    // The event as monitors see it; none for events they do not take.
    static std::optional<InputEvent> translate(const QEvent& event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    MonitorRegistry registry_;
    bool filtering_ = false;
};

}  // namespace quorvane::platform::qt

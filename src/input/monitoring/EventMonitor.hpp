#pragma once

#include <optional>
#include <string>

#include "platform/EventMonitors.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"

namespace quorvane::input {

// The event types a mask holds, by name ("left mouse up, key down"): what
// the journal says a tweak watches. Never keys.
std::string describeMask(platform::EventMask mask);

// One global monitor held by a tweak: start() replaces the previous one, so
// starting twice leaves one; stop() and destruction remove it. Starting and
// stopping are journaled with the tweak as cause. Given our own windows'
// monitors, the handler hears their input too, which then goes on.
class EventMonitor {
  public:
    EventMonitor(platform::EventMonitors& monitors, platform::Journal& journal, platform::Log& log,
                 std::string cause, platform::EventMask mask,
                 platform::EventMonitors::Handler handler,
                 platform::LocalEventMonitors* ownWindows = nullptr)
        : monitors_(monitors),
          journal_(journal),
          log_(log),
          cause_(std::move(cause)),
          mask_(mask),
          handler_(std::move(handler)),
          ownWindows_(ownWindows) {}
    ~EventMonitor() { stop(); }
    EventMonitor(const EventMonitor&) = delete;
    EventMonitor& operator=(const EventMonitor&) = delete;

    // Answers whether it is installed; a refusal is logged.
    bool start();
    void stop();
    bool isRunning() const { return token_.has_value(); }

  private:
    platform::EventMonitors& monitors_;
    platform::Journal& journal_;
    platform::Log& log_;
    std::string cause_;
    platform::EventMask mask_;
    platform::EventMonitors::Handler handler_;
    platform::LocalEventMonitors* ownWindows_;
    std::optional<platform::EventMonitors::Token> token_;
    std::optional<platform::LocalEventMonitors::Token> localToken_;
};

}  // namespace quorvane::input

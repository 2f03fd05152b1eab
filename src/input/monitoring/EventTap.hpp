#pragma once

#include <optional>
#include <string>

#include "platform/EventMonitors.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"

namespace quorvane::input {

// One event tap held by a tweak. When the system disables it (a callback
// that took too long, secure input), it is turned back on and the log says
// so: a switch that shows on keeps working. Starting and stopping are
// journaled with the tweak as cause.
class EventTap {
  public:
    EventTap(platform::EventTaps& taps, platform::Journal& journal, platform::Log& log,
             std::string cause)
        : taps_(taps), journal_(journal), log_(log), cause_(std::move(cause)) {}
    ~EventTap() { stop(); }
    EventTap(const EventTap&) = delete;
    EventTap& operator=(const EventTap&) = delete;

    // Replaces any earlier tap of this holder. A refusal is logged and
    // answered with its reason.
    platform::Status start(platform::EventMask mask, platform::EventTaps::Callback callback);
    void stop();
    bool isRunning() const { return token_.has_value(); }
    int reenabled() const { return reenabled_; }

  private:
    platform::EventTaps& taps_;
    platform::Journal& journal_;
    platform::Log& log_;
    std::string cause_;
    std::optional<platform::EventTaps::Token> token_;
    int reenabled_ = 0;
};

}  // namespace quorvane::input

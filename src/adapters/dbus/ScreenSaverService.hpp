#pragma once

#include "adapters/dbus/OwnConnection.hpp"
#include <string>

#include "platform/AwakeHolder.hpp"
#include "platform/ScreenSaver.hpp"

namespace quorvane::platform::dbus {

// The session's screen-saver service (org.freedesktop.ScreenSaver, or
// GNOME's org.gnome.ScreenSaver): SetActive(true), and Inhibit, which
// holds the saver and the display's power saving off until UnInhibit or
// until this connection closes. Calls block for at most two seconds; any
// thread may make them, a hold is let go on the thread that took it.
class ScreenSaverService final : public ScreenSaver, public AwakeHolder {
  public:
    // The session bus, or the bus at `address` (a test's private one).
    explicit ScreenSaverService(std::string address = {});

    // Whether a screen saver is on the session bus: the composition root's question.
    static bool isPresent();
    // Whether one that takes Inhibit is (the freedesktop name; GNOME's own has none).
    static bool takesInhibit();

    Status activate() override;
    Result<std::unique_ptr<Hold>> hold(const std::string& why) override;

  private:
    OwnConnection connection_;
};

}  // namespace quorvane::platform::dbus

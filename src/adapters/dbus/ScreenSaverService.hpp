#pragma once

#include "adapters/dbus/OwnConnection.hpp"
#include <string>

#include "platform/ScreenSaver.hpp"

namespace quorvane::platform::dbus {

// The session's screen-saver service (org.freedesktop.ScreenSaver, or
// GNOME's org.gnome.ScreenSaver): SetActive(true). Calls block for at most
// two seconds; any thread may make them.
class ScreenSaverService final : public ScreenSaver {
  public:
    // The session bus, or the bus at `address` (a test's private one).
    explicit ScreenSaverService(std::string address = {});

    // Whether a screen saver is on the session bus: the composition root's question.
    static bool isPresent();

    Status activate() override;

  private:
    OwnConnection connection_;
};

}  // namespace quorvane::platform::dbus

#pragma once

#include "adapters/dbus/OwnConnection.hpp"
#include <string>

#include "platform/PowerProfiles.hpp"

namespace quorvane::platform::dbus {

// power-profiles-daemon on the system bus: its ActiveProfile property,
// under the daemon's present name (org.freedesktop.UPower.PowerProfiles)
// or its older one (net.hadess.PowerProfiles). Calls block for at most two
// seconds; any thread may make them.
class PowerProfilesDaemon final : public PowerProfiles {
  public:
    // The system bus, or the bus at `address` (a test's private one).
    explicit PowerProfilesDaemon(std::string address = {});

    // Whether the daemon is on the system bus: the composition root's question.
    static bool isPresent();

    Result<std::string> activeProfile() override;
    Status setActiveProfile(const std::string& profile) override;

  private:
    struct Name {
        QString service, path, interface;
    };
    Result<Name> name() const;

    OwnConnection connection_;
};

}  // namespace quorvane::platform::dbus

#pragma once

#include "adapters/dbus/OwnConnection.hpp"
#include <string>

#include "platform/RemovableDisks.hpp"

namespace quorvane::platform::dbus {

// UDisks2 on the system bus: every drive that is removable or ejectable
// (internal and system drives are left alone) has the mounted file systems
// of its blocks unmounted, then is ejected, or powered off where it cannot
// be. Calls block for a bounded time; any thread may make them.
class UDisks2Disks final : public RemovableDisks {
  public:
    // The system bus, or the bus at `address` (a test's private one).
    explicit UDisks2Disks(std::string address = {});

    // Whether UDisks2 is on the system bus: the composition root's question.
    static bool isPresent();

    Result<std::vector<std::string>> ejectAll() override;

  private:
    OwnConnection connection_;
};

}  // namespace quorvane::platform::dbus

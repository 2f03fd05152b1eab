#pragma once

#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The disks a person plugs in and takes out (USB sticks, card readers,
// optical discs): ejecting one unmounts its file systems first.
class RemovableDisks {
  public:
    virtual ~RemovableDisks() = default;
    // Ejects every removable disk, or powers it off where it cannot be
    // ejected; answers the names of those ejected. One that refuses (a file
    // system in use) is named in the error, after the others went.
    // Blocking: call from a background executor.
    virtual Result<std::vector<std::string>> ejectAll() = 0;
};

}  // namespace quorvane::platform

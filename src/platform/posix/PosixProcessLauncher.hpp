#pragma once

#include "platform/ProcessLauncher.hpp"

namespace quorvane::platform::posix {

// posix_spawn; a detached thread waits for the program so it leaves no zombie.
class PosixProcessLauncher final : public ProcessLauncher {
  public:
    Status launch(const std::string& path, const std::vector<std::string>& arguments) override;
};

}  // namespace quorvane::platform::posix

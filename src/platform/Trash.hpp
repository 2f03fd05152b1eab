#pragma once

#include <cstddef>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The desktop's trash, on every volume that has one.
class Trash {
  public:
    virtual ~Trash() = default;
    // Deletes everything in it for good; answers how many items went.
    // Blocking: call from a background executor.
    virtual Result<std::size_t> empty() = 0;
};

}  // namespace quorvane::platform

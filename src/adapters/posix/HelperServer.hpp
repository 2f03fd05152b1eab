#pragma once

#include "adapters/posix/HelperRecords.hpp"

namespace quorvane::platform::posix {

// What a helper process serves: the records the program sends it, one at a
// time on the helper's main thread.
class HelperServer {
  public:
    virtual ~HelperServer() = default;
    // Serves one record; false when it makes no sense (the helper leaves).
    virtual bool serve(HelperRecord& record) = 0;
    // Whether nothing is under way that the helper's leaving would cut
    // short: an idle helper leaves a while after the last record.
    virtual bool idle() const = 0;
};

}  // namespace quorvane::platform::posix

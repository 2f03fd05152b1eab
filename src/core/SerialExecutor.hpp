#pragma once

#include <string>

#include "core/WorkerPool.hpp"

namespace quorvane::core {

// An "actor": jobs run one at a time, in the order they came, on a thread
// of their own. Destroying it waits for the running job and drops the rest.
class SerialExecutor final : public WorkerPool {
  public:
    explicit SerialExecutor(std::string name) : WorkerPool(std::move(name), 1) {}
};

}  // namespace quorvane::core

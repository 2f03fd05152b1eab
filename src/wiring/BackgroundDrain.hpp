#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/WorkerPool.hpp"

namespace quorvane::app {

// The background workers a command run without a running instance must
// wait for before it saves and exits. Each folder's wiring hands over its
// executors.
class BackgroundDrain {
  public:
    struct Worker {
        std::string name;
        std::function<void()> waitUntilIdle;
        std::function<bool()> isIdle;
    };

    void add(Worker worker) { workers_.push_back(std::move(worker)); }
    void add(core::WorkerPool& workers);

    // Work hops between the workers and the main queue (a command's result
    // is posted back, which may start the next): go round until one whole
    // round finds every worker idle and nothing pending on the main queue.
    // `runMainQueue` runs what is pending there and answers how many posted
    // tasks are still waiting.
    void drain(const std::function<std::size_t()>& runMainQueue) const;

    std::vector<std::string> names() const;
    // Whether no worker has work now (the main queue is not asked).
    bool idle() const;

  private:
    std::vector<Worker> workers_;
};

// One named step of start-up or exit, so the order is a list a test reads.
struct LifecycleStep {
    std::string name;
    std::function<void()> run;
};

}  // namespace quorvane::app

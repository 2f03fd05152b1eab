#include "wiring/BackgroundDrain.hpp"

namespace quorvane::app {

void BackgroundDrain::add(core::WorkerPool& workers) {
    add({workers.name(), [&workers] { workers.waitUntilIdle(); },
         [&workers] { return workers.isIdle(); }});
}

void BackgroundDrain::drain(const std::function<std::size_t()>& runMainQueue) const {
    for (;;) {
        for (const auto& worker : workers_)
            worker.waitUntilIdle();
        if (runMainQueue() == 0 && idle())
            return;
    }
}

bool BackgroundDrain::idle() const {
    for (const auto& worker : workers_)
        if (!worker.isIdle())
            return false;
    return true;
}

std::vector<std::string> BackgroundDrain::names() const {
    std::vector<std::string> names;
    for (const auto& worker : workers_)
        names.push_back(worker.name);
    return names;
}

}  // namespace quorvane::app

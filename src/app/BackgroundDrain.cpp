#include "app/BackgroundDrain.hpp"

namespace quorvane::app {

void BackgroundDrain::add(core::WorkerPool& workers) {
    add({workers.name(), [&workers] { workers.waitUntilIdle(); },
         [&workers] { return workers.isIdle(); }});
}

void BackgroundDrain::drain(const std::function<std::size_t()>& runMainQueue) const {
    for (;;) {
        for (const auto& worker : workers_)
            worker.waitUntilIdle();
        bool idle = runMainQueue() == 0;
        for (const auto& worker : workers_)
            idle = idle && worker.isIdle();
        if (idle)
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

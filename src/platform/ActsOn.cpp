#include "platform/ActsOn.hpp"

namespace quorvane::platform {

std::string_view placeName(ActsOn::Place place) {
    switch (place) {
        case ActsOn::Place::thisDesktop:
            return "desktop";
        case ActsOn::Place::simulatedMac:
            return "simulated";
        case ActsOn::Place::unavailable:
            return "unavailable";
    }
    return "desktop";
}

void AdapterChoices::set(Port port, ActsOn acts) {
    const std::lock_guard lock(mutex_);
    pending_.erase(port);
    decided_[port] = std::move(acts);
}

void AdapterChoices::setProbed(Port port, std::function<ActsOn()> probe) {
    const std::lock_guard lock(mutex_);
    decided_.erase(port);
    pending_[port] = std::move(probe);
}

ActsOn AdapterChoices::of(Port port) const {
    std::function<ActsOn()> probe;
    {
        const std::lock_guard lock(mutex_);
        if (auto found = decided_.find(port); found != decided_.end())
            return found->second;
        auto pending = pending_.find(port);
        if (pending == pending_.end())
            return ActsOn::thisDesktop();
        probe = pending->second;
    }
    // Probed outside the lock: a probe may take a while, and another port
    // must not wait for it.
    ActsOn acts = probe();
    if (acts.isUnavailable())
        return acts;
    const std::lock_guard lock(mutex_);
    pending_.erase(port);
    return decided_.try_emplace(port, std::move(acts)).first->second;
}

ActsOn AdapterChoices::of(std::span<const Port> ports) const {
    std::optional<ActsOn> simulated;
    for (Port port : ports) {
        ActsOn acts = of(port);
        if (acts.isUnavailable())
            return acts;
        if (acts.isSimulated() && !simulated)
            simulated = std::move(acts);
    }
    return simulated.value_or(ActsOn::thisDesktop());
}

}  // namespace quorvane::platform

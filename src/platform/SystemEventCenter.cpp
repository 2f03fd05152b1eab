#include "platform/SystemEventCenter.hpp"

#include <vector>

namespace quorvane::platform {

SystemEvents::Token SystemEventCenter::observe(NotificationCenter, std::string name,
                                               Handler handler) {
    const Token token = next_++;
    const bool first = firstObserver_ && !isObserved(name);
    const std::string observed = first ? name : std::string();
    observers_.emplace(token, Observer{std::move(name), std::move(handler)});
    if (first)
        firstObserver_(observed);
    return token;
}

void SystemEventCenter::removeObserver(Token token) {
    observers_.erase(token);
}

std::size_t SystemEventCenter::deliver(const std::string& name, std::string_view cause) {
    journal_.record(cause, "system event", name);
    // Copied first: a handler may add or remove observers.
    std::vector<Handler> receivers;
    for (const auto& [token, observer] : observers_)
        if (observer.name == name)
            receivers.push_back(observer.handler);
    for (const auto& handler : receivers)
        handler();
    return receivers.size();
}

bool SystemEventCenter::isObserved(const std::string& name) const {
    for (const auto& [token, observer] : observers_)
        if (observer.name == name)
            return true;
    return false;
}

}  // namespace quorvane::platform

#include "adapters/memory/MemoryUserDefaults.hpp"

namespace quorvane::platform::memory {

std::optional<DefaultsValue> MemoryUserDefaults::value(const std::string& key) const {
    auto found = values_.find(key);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

void MemoryUserDefaults::set(const std::string& key, DefaultsValue value) {
    values_[key] = std::move(value);
}

void MemoryUserDefaults::remove(const std::string& key) {
    values_.erase(key);
}

}  // namespace quorvane::platform::memory

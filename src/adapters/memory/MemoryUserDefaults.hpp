#pragma once

#include <map>

#include "platform/UserDefaults.hpp"

namespace quorvane::platform::memory {

class MemoryUserDefaults final : public UserDefaults {
  public:
    std::optional<DefaultsValue> value(const std::string& key) const override;
    void set(const std::string& key, DefaultsValue value) override;
    void remove(const std::string& key) override;

  private:
    std::map<std::string, DefaultsValue> values_;
};

}  // namespace quorvane::platform::memory

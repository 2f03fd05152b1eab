#pragma once

#include <array>
#include <string>

#include "platform/KeyboardLayout.hpp"
#include "platform/MacKeyCodes.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's keyboard: a US layout.
class UsKeyboardLayout final : public KeyboardLayout {
  public:
    UsKeyboardLayout() {
        for (std::uint16_t code = 0; code < table_.size(); ++code)
            if (const char character = usBaseCharacter(code); character > ' ')
                table_[code] = std::string(1, character);
    }
    std::string_view baseCharacter(std::uint16_t keyCode) const override {
        return keyCode < table_.size() ? std::string_view(table_[keyCode]) : std::string_view();
    }

  private:
    std::array<std::string, 128> table_{};
};

}  // namespace quorvane::platform::sim

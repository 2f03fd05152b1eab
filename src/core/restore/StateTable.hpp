#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/restore/RestoreKind.hpp"

namespace quorvane::core {

// A kind of state made of named settings, each read and written through
// its own service: "output volume", "dark mode", "default browser http".
// A target is a setting's name, or its name, a space and an argument (the
// scheme, the device, the screen); the longest name it starts with is the
// setting's. The kind's name ("system", "input", "display") is what the
// restore log calls it.
class StateTable final : public RestoreKind {
  public:
    using Reader =
        std::function<platform::Result<std::optional<std::string>>(const std::string& argument)>;
    using Writer = std::function<platform::Status(const std::string& argument,
                                                  const std::optional<std::string>& value)>;
    using Describer = std::function<std::string(const std::optional<std::string>& value)>;

    explicit StateTable(std::string kind) : kind_(std::move(kind)) {}
    StateTable(const StateTable&) = delete;
    StateTable& operator=(const StateTable&) = delete;

    const std::string& kind() const { return kind_; }
    // Set while the program is put together, before any change is made.
    void add(std::string name, Reader reader, Writer writer);

    platform::Result<std::optional<std::string>> read(const std::string& target) override;
    platform::Status write(const std::string& target,
                           const std::optional<std::string>& value) override;

  private:
    struct Setting {
        Reader read;
        Writer write;
    };
    // The setting the target names, and its argument.
    std::optional<std::pair<Setting*, std::string>> find(const std::string& target);

    std::string kind_;
    std::map<std::string, Setting> settings_;
};

// "on" / "off", as switches are kept.
inline std::string onOffText(bool on) {
    return on ? "on" : "off";
}

}  // namespace quorvane::core

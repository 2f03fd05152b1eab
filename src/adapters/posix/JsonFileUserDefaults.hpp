#pragma once

#include <filesystem>
#include <map>

#include "platform/Log.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::platform::posix {

// User defaults kept as one JSON object in a file. Every change is written
// through at once (atomically), so a killed process keeps what it set. A file
// that cannot be understood is moved aside, never overwritten.
class JsonFileUserDefaults final : public UserDefaults {
  public:
    static constexpr std::size_t maxFileBytes = 4 * 1024 * 1024;

    // `readOnly`: for commands that only show things; nothing is written or
    // moved aside, and changes stay in memory.
    JsonFileUserDefaults(std::filesystem::path file, Log& log, bool readOnly = false);

    std::optional<DefaultsValue> value(const std::string& key) const override;
    void set(const std::string& key, DefaultsValue value) override;
    void remove(const std::string& key) override;

    const std::filesystem::path& file() const { return file_; }

  private:
    void load();
    void writeThrough();

    std::filesystem::path file_;
    Log& log_;
    std::map<std::string, DefaultsValue> values_;
    bool writable_ = true;
};

}  // namespace quorvane::platform::posix

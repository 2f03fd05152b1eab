#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/Log.hpp"

namespace quorvane::platform::memory {

// Keeps every line, so tests can see what the program told the user.
class MemoryLog final : public Log {
  public:
    struct Line {
        LogLevel level;
        std::string source;
        std::string message;
    };

    // From any thread, as the adapters it stands for may be.
    void write(LogLevel level, std::string_view source, std::string_view message) override {
        std::lock_guard lock(mutex_);
        lines.push_back({level, std::string(source), std::string(message)});
    }

    bool contains(std::string_view fragment) const {
        std::lock_guard lock(mutex_);
        for (const auto& line : lines)
            if (line.message.find(fragment) != std::string::npos)
                return true;
        return false;
    }

    std::vector<Line> lines;

  private:
    mutable std::mutex mutex_;
};

}  // namespace quorvane::platform::memory

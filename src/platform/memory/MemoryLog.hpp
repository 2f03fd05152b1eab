#pragma once

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

    void write(LogLevel level, std::string_view source, std::string_view message) override {
        lines.push_back({level, std::string(source), std::string(message)});
    }

    bool contains(std::string_view fragment) const {
        for (const auto& line : lines)
            if (line.message.find(fragment) != std::string::npos)
                return true;
        return false;
    }

    std::vector<Line> lines;
};

}  // namespace quorvane::platform::memory

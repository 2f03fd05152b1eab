#pragma once

#include <string_view>

namespace quorvane::platform {

enum class LogLevel { info, warning, error };

// The program's diagnostic log. `source` names who speaks: a tweak's id or a
// service ("Persistor").
class Log {
  public:
    virtual ~Log() = default;
    virtual void write(LogLevel level, std::string_view source, std::string_view message) = 0;

    void info(std::string_view source, std::string_view message) {
        write(LogLevel::info, source, message);
    }
    void warning(std::string_view source, std::string_view message) {
        write(LogLevel::warning, source, message);
    }
    void error(std::string_view source, std::string_view message) {
        write(LogLevel::error, source, message);
    }
};

std::string_view logLevelName(LogLevel level);

}  // namespace quorvane::platform

#pragma once

#include <mutex>

#include "platform/Log.hpp"

namespace quorvane::platform::posix {

// One line per message on standard error, safe from any thread.
class StderrLog final : public Log {
  public:
    // `least`: the lowest level written; below it, nothing.
    explicit StderrLog(LogLevel least = LogLevel::info) : least_(least) {}
    void write(LogLevel level, std::string_view source, std::string_view message) override;

  private:
    std::mutex mutex_;
    LogLevel least_;
};

}  // namespace quorvane::platform::posix

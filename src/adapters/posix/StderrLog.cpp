#include "adapters/posix/StderrLog.hpp"

#include <cstdio>
#include <ctime>
#include <string>

namespace quorvane::platform::posix {

void StderrLog::write(LogLevel level, std::string_view source, std::string_view message) {
    if (level < least_)
        return;
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &parts);

    std::string line = std::string(stamp) + " " + std::string(logLevelName(level)) + " " +
                       std::string(source) + ": " + std::string(message) + "\n";
    std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace quorvane::platform::posix

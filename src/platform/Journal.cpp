#include "platform/Journal.hpp"

#include <chrono>
#include <ctime>

namespace quorvane::platform {

std::string journalTimestamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char buffer[40];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &parts);
    std::snprintf(buffer + length, sizeof buffer - length, ".%03dZ", static_cast<int>(millis));
    return buffer;
}

std::string journalDetail(std::string_view detail) {
    if (detail.size() <= Journal::maxDetailBytes)
        return std::string(detail);
    std::size_t cut = Journal::maxDetailBytes;
    while (cut > 0 && (static_cast<unsigned char>(detail[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(detail.substr(0, cut)) + "…";
}

}  // namespace quorvane::platform

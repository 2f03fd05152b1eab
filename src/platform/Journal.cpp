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

std::string_view journalWeightName(JournalWeight weight) {
    return weight == JournalWeight::input ? "input" : "change";
}

JournalWeight journalWeightNamed(std::string_view name) {
    return name == "input" ? JournalWeight::input : JournalWeight::change;
}

std::vector<JournalLine> readableJournal(const std::vector<JournalEntry>& entries, bool withInput) {
    std::vector<JournalLine> lines;
    for (const auto& entry : entries) {
        if (!withInput && entry.weight == JournalWeight::input)
            continue;
        if (!lines.empty()) {
            auto& last = lines.back();
            if (last.entry.cause == entry.cause && last.entry.kind == entry.kind &&
                last.entry.detail == entry.detail && last.entry.weight == entry.weight) {
                last.entry.time = entry.time;
                ++last.count;
                continue;
            }
        }
        lines.push_back({entry, 1});
    }
    return lines;
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

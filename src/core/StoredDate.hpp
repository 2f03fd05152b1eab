#pragma once

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

namespace quorvane::core {

// A date as stored records keep it: seconds since 2001-01-01 00:00:00 UTC,
// a JSON number. Whole seconds are written without a fraction, so a stored
// record reads and writes back byte for byte.
struct StoredDate {
    static constexpr std::int64_t referenceUnixSeconds = 978'307'200;
    // About a million years either way: as far as a stored date may be.
    static constexpr double maxSeconds = 3.2e13;

    double secondsSinceReference = 0;

    static StoredDate fromUnixSeconds(double seconds) {
        return {seconds - static_cast<double>(referenceUnixSeconds)};
    }
    double unixSeconds() const {
        return secondsSinceReference + static_cast<double>(referenceUnixSeconds);
    }
    // Today (in local time) at the given time of day.
    static StoredDate todayAt(int hour, int minute, int second = 0);
    // The time of day in local time, "HH:mm:ss".
    std::string timeOfDay() const;
    // The same day with another time of day (local time).
    StoredDate withTimeOfDay(int hour, int minute, int second = 0) const;
    int hour() const;
    int minute() const;

    bool operator==(const StoredDate&) const = default;
};

void to_json(nlohmann::json& json, const StoredDate& date);
void from_json(const nlohmann::json& json, StoredDate& date);

}  // namespace quorvane::core

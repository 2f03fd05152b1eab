#include "core/StoredDate.hpp"

#include <cmath>
#include <ctime>

namespace quorvane::core {

namespace {

std::tm localParts(const StoredDate& date) {
    const auto seconds = static_cast<std::time_t>(std::floor(date.unixSeconds()));
    std::tm parts{};
    ::localtime_r(&seconds, &parts);
    return parts;
}

StoredDate fromLocalParts(std::tm parts) {
    parts.tm_isdst = -1;  // whatever daylight saving time says for that day
    return StoredDate::fromUnixSeconds(static_cast<double>(std::mktime(&parts)));
}

}  // namespace

StoredDate StoredDate::todayAt(int hour, int minute, int second) {
    const auto now = std::chrono::duration<double>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    return fromUnixSeconds(now).withTimeOfDay(hour, minute, second);
}

StoredDate StoredDate::withTimeOfDay(int hour, int minute, int second) const {
    auto parts = localParts(*this);
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return fromLocalParts(parts);
}

std::string StoredDate::timeOfDay() const {
    const auto parts = localParts(*this);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &parts);
    return text;
}

int StoredDate::hour() const {
    return localParts(*this).tm_hour;
}

int StoredDate::minute() const {
    return localParts(*this).tm_min;
}

void to_json(nlohmann::json& json, const StoredDate& date) {
    const double seconds = date.secondsSinceReference;
    if (std::trunc(seconds) == seconds && std::fabs(seconds) < 9.0e15)
        json = static_cast<std::int64_t>(seconds);
    else
        json = seconds;
}

void from_json(const nlohmann::json& json, StoredDate& date) {
    if (!json.is_number())
        throw nlohmann::json::type_error::create(302, "a date is a number of seconds", &json);
    const double seconds = json.get<double>();
    // A file's 1e999 reads as infinity, which would be saved as null and
    // refused next time, and no time of day is that far away (a million
    // years): refused now, so the record is set aside whole.
    if (!std::isfinite(seconds) || std::fabs(seconds) > StoredDate::maxSeconds)
        throw nlohmann::json::type_error::create(302, "a date out of range", &json);
    date.secondsSinceReference = seconds;
}

}  // namespace quorvane::core

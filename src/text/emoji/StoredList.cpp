#include "text/emoji/StoredList.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::text {

std::vector<std::string> readStoredList(const platform::UserDefaults& defaults, const std::string& key) {
    const auto stored = defaults.stringValue(key);
    if (!stored)
        return {};
    try {
        return nlohmann::json::parse(*stored).get<std::vector<std::string>>();
    } catch (const nlohmann::json::exception&) {
        return {};
    }
}

void writeStoredList(platform::UserDefaults& defaults, const std::string& key,
                     const std::vector<std::string>& list) {
    std::string text = "[]";
    try {
        text = nlohmann::json(list).dump();
    } catch (const nlohmann::json::exception&) {
        // Invalid UTF-8 cannot be encoded.
    }
    defaults.set(key, text);
}

}  // namespace quorvane::text

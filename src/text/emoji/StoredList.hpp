#pragma once

#include <string>
#include <vector>

#include "platform/UserDefaults.hpp"

namespace quorvane::text {

// A list of strings kept in the user defaults as the text of a JSON array:
// absent or undecodable reads as empty, and what cannot be encoded is
// written as "[]".
std::vector<std::string> readStoredList(const platform::UserDefaults& defaults, const std::string& key);
void writeStoredList(platform::UserDefaults& defaults, const std::string& key,
                     const std::vector<std::string>& list);

}  // namespace quorvane::text

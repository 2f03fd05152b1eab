#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>

#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// A small state file kept as one JSON object (the simulated Mac's). Absent,
// unreadable, larger than `maxBytes`, not JSON or not an object: nothing,
// and the caller starts afresh.
std::optional<nlohmann::json> readJsonObject(const std::filesystem::path& file,
                                             std::size_t maxBytes = 256 * 1024);

// A field of a state file of the type asked for; `fallback` when it is
// absent or of another type (a file edited by hand or by another version):
// a read that never throws.
std::string textOr(const nlohmann::json& object, const char* key, std::string fallback);
std::int64_t wholeOr(const nlohmann::json& object, const char* key, std::int64_t fallback);

// Writes `json` indented, atomically, making the folder (private) first.
Status writeJsonFile(const std::filesystem::path& file, const nlohmann::json& json);

}  // namespace quorvane::platform::posix

#pragma once

#include <cstddef>
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

// Writes `json` indented, atomically, making the folder (private) first.
Status writeJsonFile(const std::filesystem::path& file, const nlohmann::json& json);

}  // namespace quorvane::platform::posix

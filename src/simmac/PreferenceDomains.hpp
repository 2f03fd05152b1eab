#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's preference domains, kept as macOS keeps them: one
// property list per domain, ~/Library/Preferences/<domain>.plist, and
// ByHost/<domain>.plist for -currentHost, written in the binary format and
// atomically. Every stand-in that reads or writes preferences goes through
// here. Values travel as JSON: property-list data, dates and UIDs, which
// JSON has not, are objects of one key ("$data" in hex, "$date" in seconds
// since 2001, "$uid"), so they survive a read and a write unchanged.
namespace domains {

std::filesystem::path fileOf(const std::filesystem::path& home, std::string_view domain,
                             bool currentHost);

// The domain's values (an object), or nothing when it does not exist or
// cannot be read. A domain that an earlier version kept as JSON beside
// ("<domain>.json") is read once, written as a property list and removed.
std::optional<nlohmann::ordered_json> load(const std::filesystem::path& file);

// An empty dictionary removes the file: a domain without keys is none.
Status save(const std::filesystem::path& file, const nlohmann::ordered_json& values);

// A domain's values from a property list in either format; nothing unless
// its top level is a dictionary.
std::optional<nlohmann::ordered_json> parse(const std::string& bytes);

// The values as an XML property list, dictionary keys in order as macOS
// writes them.
std::string toXml(const nlohmann::ordered_json& values);

}  // namespace domains

}  // namespace quorvane::platform::sim

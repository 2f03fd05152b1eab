#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// The few file operations every on-disk record needs, done once and carefully.

// Creates the folder and its parents, private to the user (0700) where new.
Status makePrivateDirectory(const std::filesystem::path& directory);

// Reads a whole file. Nothing when it does not exist; an error when it cannot
// be read or is larger than `maxBytes` (stored files are not trusted to be sane).
Result<std::optional<std::string>> readFile(const std::filesystem::path& path,
                                            std::size_t maxBytes);

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path`, so a crash leaves either the old file or the new.
Status writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Renames a file that could not be understood to "<name>.undecodable-<UTC time>"
// (with a counter when that exists) and answers the new path.
Result<std::filesystem::path> moveAside(const std::filesystem::path& path);

}  // namespace quorvane::platform::posix

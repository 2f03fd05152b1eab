#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// Reads a whole file without ever waiting on it (a FIFO in its place is
// refused at once, not read): nothing when it does not exist; an error when
// it is not a regular file, is larger than `maxBytes` or cannot be read.
// posix::readFile is the one the program uses, for the folders that may not
// reach the system themselves.
using ReadWholeFile = std::function<Result<std::optional<std::string>>(
    const std::filesystem::path& path, std::size_t maxBytes)>;

}  // namespace quorvane::platform

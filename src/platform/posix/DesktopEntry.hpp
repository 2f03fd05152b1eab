#pragma once

#include <filesystem>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// Makes the desktop hand "quorvane:" links to `program`: an application
// entry in <data home>/applications, and the scheme's default handler in
// <config home>/mimeapps.list unless the user chose another one there.
// Done at each launch, so the entry follows the program if it moves.
Status registerUrlScheme(const std::filesystem::path& dataHome,
                         const std::filesystem::path& configHome,
                         const std::filesystem::path& program);

}  // namespace quorvane::platform::posix

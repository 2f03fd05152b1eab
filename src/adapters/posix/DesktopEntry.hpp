#pragma once

#include <filesystem>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// `key`=`value` in the [Default Applications] group of a mimeapps.list's
// text, every other line as it was: added (with the group when there is
// none), or put in place of the key's line when `replacing`; otherwise a
// key already there stays.
std::string withDefaultApplication(const std::string& list, const std::string& key,
                                   const std::string& value, bool replacing);

// Makes the desktop hand "quorvane:" links to `program`: an application
// entry in <data home>/applications, and the scheme's default handler in
// <config home>/mimeapps.list unless the user chose another one there.
// Done at each launch, so the entry follows the program if it moves.
Status registerUrlScheme(const std::filesystem::path& dataHome,
                         const std::filesystem::path& configHome,
                         const std::filesystem::path& program);

}  // namespace quorvane::platform::posix

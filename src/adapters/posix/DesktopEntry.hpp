#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// `key`=`value` in the [Default Applications] group of a mimeapps.list's
// text, every other line as it was: added (with the group when there is
// none), or put in place of the key's line when `replacing`; otherwise a
// key already there stays.
std::string withDefaultApplication(const std::string& list, const std::string& key,
                                   const std::string& value, bool replacing);

// `list` without the [Default Applications] line `key`=`value`; any other
// value of the key (the user's choice) stays.
std::string withoutDefaultApplication(const std::string& list, const std::string& key,
                                      const std::string& value);

// The application entry installed with `program` (<prefix>/bin/quorvane
// beside <prefix>/share/applications/com.tarnvell.Quorvane.desktop), if
// there is one: the package's, which already takes "quorvane:" links.
std::optional<std::filesystem::path> packagedEntry(const std::filesystem::path& program);

// Makes the desktop hand "quorvane:" links to `program`. A packaged program
// has its entry already: what an earlier run from elsewhere wrote for the
// user is taken away (it would hide the package's, and outlive it).
// Otherwise: an application entry in <data home>/applications, and the
// scheme's default handler in <config home>/mimeapps.list unless the user
// chose another one there, done at each launch, so the entry follows the
// program if it moves.
Status registerUrlScheme(const std::filesystem::path& dataHome,
                         const std::filesystem::path& configHome,
                         const std::filesystem::path& program);

// Takes away what registerUrlScheme wrote for the user; answers what went.
Result<std::vector<std::filesystem::path>> removeUrlScheme(const std::filesystem::path& dataHome,
                                                           const std::filesystem::path& configHome);

}  // namespace quorvane::platform::posix

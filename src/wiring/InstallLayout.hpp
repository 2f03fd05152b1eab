#pragma once

#include <filesystem>
#include <string_view>

namespace quorvane::app {

// The files the program carries besides itself: helper programs and
// modules loaded on first use (the stand-in `defaults`, `quorvane-sound`,
// the network module),
// and data. In a build tree they sit beside the program; installed, the
// program is in <prefix>/bin, helpers in <prefix>/libexec/quorvane and data
// in <prefix>/share/quorvane. Both are found from the program's own path,
// never from where it was built. Empty when the file is in neither place.
std::filesystem::path helperFile(const std::filesystem::path& program, std::string_view name);
std::filesystem::path dataFile(const std::filesystem::path& program, std::string_view name);
// A folder of data files ("scripts").
std::filesystem::path dataFolder(const std::filesystem::path& program, std::string_view name);

// The running program, from /proc/self/exe; empty when it cannot be read.
std::filesystem::path thisProgram();

}  // namespace quorvane::app

#pragma once

#include <optional>
#include <string>

namespace quorvane::app {

// Handles one control request in this process, as the running instance
// would: it takes the instance lock (so nothing else writes the records
// meanwhile), loads the records, handles the request, waits until the
// tweak's background work has finished, then saves and lets go. Nothing
// when another instance holds the lock: ask that one instead.
std::optional<std::string> handleInProcess(const std::string& request);

}  // namespace quorvane::app

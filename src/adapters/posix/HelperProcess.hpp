#pragma once

#include <sys/types.h>

#include <filesystem>

#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// A helper program of ours, started with one end of a socket pair as its
// standard input and output (its standard error stays the program's).
struct HelperProcess {
    pid_t pid = -1;
    int socket = -1;
    bool running() const { return pid > 0; }
};

// Starts `program` on a socket of `socketType` (SOCK_STREAM, SOCK_SEQPACKET).
Result<HelperProcess> startHelper(const std::filesystem::path& program, int socketType);

// Closes our end, which tells the helper to leave, and waits up to 2 s for
// it before killing it; `kill`: at once. Leaves `helper` not running.
void endHelper(HelperProcess& helper, bool kill);

}  // namespace quorvane::platform::posix

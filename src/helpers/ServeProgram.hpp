#pragma once

#include <QCoreApplication>

#include <chrono>

#include "adapters/posix/HelperServer.hpp"

namespace quorvane::helpers {

// The program's socket, taken from the helper's standard input before any
// library runs: moved to a descriptor no child inherits, with /dev/null as
// standard input and standard error as standard output, so that nothing a
// library reads or prints reaches the program. -1 when that fails.
int takeProgramSocket();

// Serves `server` the records the program sends on `socket`, from the
// application's event loop, until the program goes (0), sends what makes
// no sense (1), or the server has been idle for `idleAfter` with nothing
// waiting to be read (0; QUORVANE_HELPER_IDLE_MS sets another). Then the
// process ends with that status, at once: no exit handler runs, as a
// library's may hang (Qt Multimedia's sample cache waits forever on a
// sound still loading), and nothing is left to save.
[[noreturn]] void serveProgram(QCoreApplication& application, platform::posix::HelperServer& server, int socket,
                 std::chrono::milliseconds idleAfter);

}  // namespace quorvane::helpers

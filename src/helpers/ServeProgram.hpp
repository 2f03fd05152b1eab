#pragma once

#include <QCoreApplication>

#include <chrono>

#include "adapters/posix/HelperServer.hpp"

namespace quorvane::helpers {

// Serves `server` the records the program sends on the helper's standard
// input, from the application's event loop, until the program goes (0),
// sends what makes no sense (1), or the server has been idle for
// `idleAfter` (0; QUORVANE_HELPER_IDLE_MS sets another). Standard output
// goes to standard error first: what a library prints must never reach the
// program as a record.
int serveProgram(QCoreApplication& application, platform::posix::HelperServer& server,
                 std::chrono::milliseconds idleAfter);

// The program's socket: the helper's standard input.
constexpr int programSocket = 0;

// Makes standard output standard error; call before any library prints.
bool keepStandardOutputClean();

}  // namespace quorvane::helpers

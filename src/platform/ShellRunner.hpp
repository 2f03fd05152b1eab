#pragma once

#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// Runs one command line with /bin/sh -c and blocks its caller until the
// command exits: never call it on the main thread.
//
// A non-zero exit status with something on standard error fails with that
// text. Otherwise the answer is standard output (empty when it is not valid
// UTF-8) without one trailing line feed.
class ShellRunner {
  public:
    virtual ~ShellRunner() = default;
    virtual Result<std::string> run(const std::string& commandLine) = 0;
    // At exit: ends every command still running (a user's server script,
    // "tail -f"), so that quitting never waits on one. Its run() answers as
    // a command killed by a signal would.
    virtual void terminateRunning() = 0;
};

}  // namespace quorvane::platform

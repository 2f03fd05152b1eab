#pragma once

#include <cstdint>

namespace quorvane::core {

// A seed for a random engine, different on each call and each run. The
// system's entropy source is asked once per process: where it is a CPU
// instruction a virtual machine traps, each std::random_device costs tens
// of microseconds, and start-up makes several engines.
std::uint64_t randomSeed();

}  // namespace quorvane::core

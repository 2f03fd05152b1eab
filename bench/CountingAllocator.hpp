#pragma once

// Counts the heap allocations the program makes (operator new), for the
// benchmarks that must make none in their loop.
namespace quorvane::bench {

long allocations();
// Those of the calling thread alone, where other threads run beside.
long allocationsOnThisThread();

}  // namespace quorvane::bench

#pragma once

// Counts the heap allocations the program makes (operator new), for the
// benchmarks that must make none in their loop.
namespace quorvane::bench {

long allocations();

}  // namespace quorvane::bench

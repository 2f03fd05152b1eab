#pragma once

namespace quorvane::platform::posix {

// Hands the allocator's free pages back to the system. The C library keeps
// what is freed for reuse, so memory a tear-down let go would otherwise stay
// resident.
void giveBackFreeHeap();

// Keeps big blocks (a screen grab, a picture, a backing store: a megabyte
// or more) out of the heaps for the rest of the run: each is mapped on its
// own and given back the moment it is freed. Left to itself, the C library
// raises its threshold for big blocks once the first is freed, and its
// threshold for trimming with it; a block freed on another thread then stays
// at the top of that thread's heap, which trimming never reaches. Called
// before the first such block, not at start: until then the library's own
// thresholds keep start-up's mid-sized blocks about 0.1 MB tighter.
void keepBigBlocksOutOfTheHeap();

}  // namespace quorvane::platform::posix

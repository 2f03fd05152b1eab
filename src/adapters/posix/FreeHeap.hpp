#pragma once

namespace quorvane::platform::posix {

// Hands the allocator's free pages back to the system. The C library keeps
// what is freed for reuse, and raises its threshold for big blocks once one
// is freed, so memory a tear-down let go would otherwise stay resident.
void giveBackFreeHeap();

}  // namespace quorvane::platform::posix

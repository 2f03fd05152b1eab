#include "adapters/posix/FreeHeap.hpp"

#include <cstdlib>  // defines __GLIBC__ where it applies
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace quorvane::platform::posix {

void giveBackFreeHeap() {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

void keepBigBlocksOutOfTheHeap() {
#ifdef __GLIBC__
    // The library's own starting values, fixed: setting them stops it
    // moving them.
    constexpr int bigBlock = 128 * 1024;
    ::mallopt(M_MMAP_THRESHOLD, bigBlock);
    ::mallopt(M_TRIM_THRESHOLD, bigBlock);
#endif
}

}  // namespace quorvane::platform::posix

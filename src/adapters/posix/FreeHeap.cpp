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
    // Fixed values: setting them stops the library moving them.
    ::mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 128 * 1024);
#endif
}

}  // namespace quorvane::platform::posix

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

}  // namespace quorvane::platform::posix

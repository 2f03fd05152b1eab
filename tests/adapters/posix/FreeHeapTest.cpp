#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "adapters/posix/FreeHeap.hpp"

namespace quorvane::platform::posix {
namespace {

long residentBytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Screen grabs come and go on Qt's threads: a big block freed on another
// thread goes back to the system, however many came before it.
TEST(FreeHeap, bigBlocksFreedOnAnotherThreadLeaveNothingResident) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator keeps freed blocks in quarantine";
#endif
    keepBigBlocksOutOfTheHeap();
    constexpr std::size_t big = 5 << 20;
    auto grabs = [] {
        std::thread([] {
            for (int i = 0; i < 3; ++i) {
                auto* block = static_cast<char*>(std::malloc(big));
                ASSERT_NE(block, nullptr);
                std::memset(block, 1, big);
                // Used, as far as the compiler knows: not elided.
                asm volatile("" : : "r"(block) : "memory");
                std::free(block);
            }
        }).join();
    };
    const long before = residentBytes();
    // Left to itself, the library raises its thresholds at the first free
    // and keeps the second block at the top of the thread's heap.
    grabs();
    EXPECT_LT(residentBytes() - before, long{1} << 20);
}

}  // namespace
}  // namespace quorvane::platform::posix

#include "CountingAllocator.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> counted{0};
thread_local long countedHere = 0;

}  // namespace

void* operator new(std::size_t size) {
    counted.fetch_add(1, std::memory_order_relaxed);
    ++countedHere;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace quorvane::bench {

long allocations() {
    return counted.load(std::memory_order_relaxed);
}

long allocationsOnThisThread() {
    return countedHere;
}

}  // namespace quorvane::bench

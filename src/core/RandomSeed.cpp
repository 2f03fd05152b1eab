#include "core/RandomSeed.hpp"

#include <mutex>
#include <random>

namespace quorvane::core {

std::uint64_t randomSeed() {
    static std::mutex guard;
    static std::mt19937_64 seeds = [] {
        std::random_device device;
        std::seed_seq sequence{device(), device(), device(), device()};
        return std::mt19937_64(sequence);
    }();
    const std::lock_guard lock(guard);
    return seeds();
}

}  // namespace quorvane::core

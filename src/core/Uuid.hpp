#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quorvane::core {

// Picks a number in [0, bound).
using RandomIndex = std::function<std::size_t(std::size_t bound)>;

// A uniform random source, seeded from the system.
RandomIndex systemRandom();

// A random (version 4) UUID in upper case: "0F8E...-4...-A...".
std::string newUuid(const RandomIndex& random);

}  // namespace quorvane::core

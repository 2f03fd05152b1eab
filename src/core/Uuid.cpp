#include "core/Uuid.hpp"

#include <array>
#include <cstdio>
#include <memory>
#include <random>

#include "core/RandomSeed.hpp"

namespace quorvane::core {

RandomIndex systemRandom() {
    auto engine = std::make_shared<std::mt19937_64>(randomSeed());
    return [engine](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(*engine);
    };
}

std::string newUuid(const RandomIndex& random) {
    std::array<unsigned, 16> bytes{};
    for (auto& byte : bytes)
        byte = static_cast<unsigned>(random(256));
    bytes[6] = (bytes[6] & 0x0fu) | 0x40u;
    bytes[8] = (bytes[8] & 0x3fu) | 0x80u;
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        text += digits;
    }
    return text;
}

}  // namespace quorvane::core

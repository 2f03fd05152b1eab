#include "input/mouse/JigglePath.hpp"

#include <cmath>
#include <random>

namespace quorvane::input {

double easeInOutCubic(double t) {
    if (t < 0.5)
        return 4 * t * t * t;
    const double u = 2 * t - 2;
    return 0.5 * u * u * u + 1;
}

std::vector<JiggleStep> jigglePath(std::uint64_t seed, platform::Point start, platform::Size size) {
    std::mt19937_64 random(seed);
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto below = [&](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };

    std::vector<JiggleStep> path;
    platform::Point from = start;
    for (int move = 0; move < 2; ++move) {
        const platform::Point to{uniform(0, size.width / 2), uniform(0, size.height / 2)};
        const double speed = uniform(270, 650);
        const double distance = std::hypot(to.x - from.x, to.y - from.y);
        const auto steps = static_cast<int>(speed * distance / 100) + 1;
        for (int i = 0; i <= steps; ++i) {
            const double eased = easeInOutCubic(double(i) / steps);
            path.push_back({{from.x + (to.x - from.x) * eased, from.y + (to.y - from.y) * eased},
                            std::chrono::microseconds(200 + below(100))});
        }
        // The pause after the move replaces the last point's short one.
        path.back().pauseAfter = below(100) < 80
                                     ? std::chrono::microseconds(10'000 + below(490'000))
                                     : std::chrono::microseconds(100'000 + below(1'900'000));
        from = to;
    }
    return path;
}

}  // namespace quorvane::input

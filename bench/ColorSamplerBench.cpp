// The colour sampler's loupe, redrawn on every pointer move over a 4K
// capture (3840 × 2160): the time per move and the heap allocations over
// the run (there should be none).
#include <benchmark/benchmark.h>

#include <QImage>
#include <random>
#include <vector>

#include "CountingAllocator.hpp"
#include "adapters/qt/Loupe.hpp"

namespace {

using quorvane::platform::qt::Loupe;

void loupePerMove(benchmark::State& state) {
    QImage capture(3840, 2160, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < capture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(capture.scanLine(y));
        for (int x = 0; x < capture.width(); ++x)
            line[x] = 0xff000000u | (random() & 0xffffffu);
    }
    // A pointer path across the whole capture, edges included.
    std::vector<QPoint> path;
    for (int i = 0; i < 4096; ++i)
        path.emplace_back(static_cast<int>(random() % 3850) - 5, static_cast<int>(random() % 2170) - 5);
    Loupe loupe;
    QRgb seen = 0;
    std::size_t next = 0;
    const long before = quorvane::bench::allocations();
    for (auto _ : state) {
        seen ^= loupe.render(capture, path[next]);
        next = (next + 1) % path.size();
    }
    benchmark::DoNotOptimize(seen);
    state.counters["allocations"] = static_cast<double>(quorvane::bench::allocations() - before);
}
BENCHMARK(loupePerMove)
    ->Iterations(20000)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

// What a snap drag computes on every pointer move: the cell under the
// pointer over three screens, and that cell's target frame. Reports the
// time per move and the heap allocations made (there should be none).
#include <benchmark/benchmark.h>

#include <vector>

#include "CountingAllocator.hpp"
#include "windows/snap/SnapGeometry.hpp"

namespace {

using namespace quorvane;
using platform::Point;
using platform::Rect;

void cellAndTarget(benchmark::State& state) {
    const std::vector<platform::Screen> screens{
        {"1", "Built-in Retina Display", {{0, 0}, {1440, 900}}, {{0, 70}, {1440, 805}}},
        {"2", "Studio Display", {{1440, -540}, {2560, 1440}}, {{1440, -540}, {2560, 1415}}},
        {"3", "Projector", {{-1920, 0}, {1920, 1080}}, {{-1920, 0}, {1920, 1055}}}};
    const auto layout = windows::layoutOf(screens);
    // A path across all three screens, dividers included.
    std::vector<Point> path;
    for (int i = 0; i < 997; ++i)
        path.push_back({-1900.0 + i * 5.8, -500.0 + (i * 37) % 1900});
    const long before = bench::allocations();
    std::size_t next = 0;
    double sum = 0;
    for (auto _ : state) {
        if (auto cell = windows::cellAt(layout, path[next], screens)) {
            const Rect target =
                windows::targetFrame(cell->position, layout.tiles[cell->tile].screen.visibleFrame);
            sum += target.size.width;
        }
        next = (next + 1) % path.size();
    }
    state.counters["allocations"] = static_cast<double>(bench::allocations() - before);
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(cellAndTarget)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

// The shake detector on recorded drags: a slow drag, a shake, and a long
// wandering one. Reports the time per event and the heap allocations made
// over a million events (there should be none: its memory stays the same
// however long the drag).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "CountingAllocator.hpp"
#include "windows/shake/MouseShakeDetector.hpp"

namespace {

using namespace quorvane;
using platform::EventType;
using platform::InputEvent;

std::vector<InputEvent> recordedDrags() {
    std::vector<InputEvent> events;
    auto drag = [&](const std::vector<double>& moves) {
        events.push_back({.type = EventType::leftMouseDragged});
        for (double dx : moves)
            events.push_back({.type = EventType::leftMouseDragged, .deltaX = dx});
        events.push_back({.type = EventType::leftMouseUp});
    };
    drag(std::vector<double>(200, 3));  // slow
    std::vector<double> shake;
    for (int stroke = 0; stroke < 8; ++stroke)
        for (int i = 0; i < 5; ++i)
            shake.push_back(stroke % 2 ? -14 : 14);
    drag(shake);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> dx(-25, 25);
    std::vector<double> wander(5000);
    for (auto& move : wander)
        move = dx(random);
    drag(wander);
    return events;
}

void detect(benchmark::State& state) {
    const auto events = recordedDrags();
    long shakes = 0;
    windows::MouseShakeDetector detector({.onShake = [&] { ++shakes; }});
    const long before = bench::allocations();
    std::size_t next = 0;
    for (auto _ : state) {
        detector.handle(events[next]);
        next = (next + 1) % events.size();
    }
    state.counters["allocations"] = static_cast<double>(bench::allocations() - before);
    state.counters["shakes"] = static_cast<double>(shakes);
    state.counters["detectorBytes"] = sizeof detector;
}
BENCHMARK(detect)->Iterations(1000000)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

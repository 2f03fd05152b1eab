// The pointer tweaks on the event path: the reversed wheel's tap callback,
// the cursor ring's handler per move while hidden (no overlay call) and
// while shown, each in time and heap allocations; and how long ending a
// jiggle under way takes, from cancel() to nothing more being posted.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <thread>

#include "CountingAllocator.hpp"
#include "KeyboardFolder.hpp"
#include "input/mouse/Jiggler.hpp"
#include "input/mouse/ScrollReversal.hpp"
#include "input/mouse/VisualizeCursorTask.hpp"

namespace {

using namespace quorvane;
using namespace std::chrono_literals;

void reversedWheelCallback(benchmark::State& state) {
    const platform::InputEvent notch{.type = platform::EventType::scrollWheel, .scrollLinesY = -3,
                                     .scrollingDeltaY = -30};
    const long before = bench::allocationsOnThisThread();
    for (auto _ : state) {
        auto answer = input::reversedScroll(notch, true, false);
        benchmark::DoNotOptimize(answer);
    }
    state.counters["allocations"] = static_cast<double>(bench::allocationsOnThisThread() - before);
}
BENCHMARK(reversedWheelCallback)->Repetitions(9)->ReportAggregatesOnly();

void cursorRingPerMove(benchmark::State& state) {
    const bool shown = state.range(0) != 0;
    bench::KeyboardFolder folder;
    input::VisualizeCursorTask ring({.id = "VisualizeCursorTask"},
                                    core::PKeyPath(&core::PState::visualizeCursor), folder.mouse);
    if (shown)
        ring.handle({.type = platform::EventType::leftMouseDown, .location = {100, 100}});
    platform::InputEvent move{.type = shown ? platform::EventType::leftMouseDragged
                                            : platform::EventType::mouseMoved,
                              .location = {100, 100}};
    const long calls = folder.overlays.calls;
    const long before = bench::allocationsOnThisThread();
    for (auto _ : state) {
        move.location.x = move.location.x > 1000 ? 0 : move.location.x + 1;
        ring.handle(move);
    }
    state.counters["allocations"] = static_cast<double>(bench::allocationsOnThisThread() - before);
    state.counters["overlay_calls"] = static_cast<double>(folder.overlays.calls - calls);
}
BENCHMARK(cursorRingPerMove)->Arg(0)->Arg(1)->Repetitions(9)->ReportAggregatesOnly();

void jiggleStopLatency(benchmark::State& state) {
    std::atomic<long> posted{0};
    input::Jiggler jiggler([&](platform::Point) { ++posted; });
    std::vector<input::JiggleStep> path(20000, {{1, 1}, 250us});
    std::vector<double> micros;
    for (auto _ : state) {
        jiggler.jiggle(path);
        std::this_thread::sleep_for(5ms);
        const auto asked = std::chrono::steady_clock::now();
        jiggler.cancel();
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - asked).count());
        const long after = posted.load();
        std::this_thread::sleep_for(2ms);
        if (posted.load() != after)
            state.SkipWithError("a point was posted after cancel() returned");
        while (jiggler.isJiggling())
            std::this_thread::yield();
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["max_us"] = micros.back();
}
BENCHMARK(jiggleStopLatency)->Iterations(50)->UseRealTime();

}  // namespace

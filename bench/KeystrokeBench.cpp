// The keystroke strip on the key path: the caps of one event with the
// layout's lookup, and the whole handler (caps, placement, the two delays,
// the strip's update) for ⌘⇧K; time per event and heap allocations, which
// should be none once the strip exists.
#include <benchmark/benchmark.h>

#include "CountingAllocator.hpp"
#include "KeyboardFolder.hpp"
#include "input/keystrokes/VisualizeKeystrokeManager.hpp"
#include "simmac/UsKeyboardLayout.hpp"

namespace {

using namespace quorvane;
using namespace quorvane::platform;

using bench::KeyboardFolder;

const InputEvent commandShiftK{.type = EventType::keyDown,
                               .keyCode = 40,
                               .characters = "",
                               .charactersIgnoringModifiers = "K",
                               .modifierFlags = modifier::command | modifier::shift};

void capsOfOneEvent(benchmark::State& state) {
    const sim::UsKeyboardLayout layout;
    input::KeyCaps caps;
    input::capsOf(commandShiftK, &layout, caps);
    const long before = bench::allocations();
    for (auto _ : state) {
        input::capsOf(commandShiftK, &layout, caps);
        benchmark::DoNotOptimize(caps);
    }
    state.counters["allocations"] = static_cast<double>(bench::allocations() - before);
}
BENCHMARK(capsOfOneEvent);

void handlerPublishesTheStrip(benchmark::State& state) {
    KeyboardFolder folder;
    input::VisualizeKeystrokeManager manager(folder.services, "VisualizeKeystrokeTask");
    manager.handle(commandShiftK);  // the strip is made, the delays armed
    const long before = bench::allocations();
    for (auto _ : state) {
        manager.handle(commandShiftK);
        benchmark::DoNotOptimize(manager.bundle());
    }
    state.counters["allocations"] = static_cast<double>(bench::allocations() - before);
}
BENCHMARK(handlerPublishesTheStrip);

}  // namespace

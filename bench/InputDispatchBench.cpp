// Decoding one recorded X11 device event and handing it to 1, 4 or 16
// global monitors: the work done for every key press and pointer motion
// while an input tweak is on. Reports the time per delivered event and the
// heap allocations made while delivering (there should be none).
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "CountingAllocator.hpp"
#include "platform/MonitorRegistry.hpp"
#include "adapters/x11/RecordDecoder.hpp"

namespace {

using namespace quorvane::platform;

std::array<std::uint8_t, 32> recorded(std::uint8_t type, std::uint8_t detail, std::int16_t x,
                                      std::int16_t y) {
    std::array<std::uint8_t, 32> bytes{};
    bytes[0] = type;
    bytes[1] = detail;
    std::memcpy(bytes.data() + 20, &x, 2);
    std::memcpy(bytes.data() + 22, &y, 2);
    return bytes;
}

void decodeAndDispatch(benchmark::State& state) {
    const auto monitors = static_cast<int>(state.range(0));
    x11::RecordDecoder decoder([](std::uint8_t, bool pressed, std::string& text, std::string& plain) {
        if (pressed) {
            text.assign(1, 'a');
            plain.assign(1, 'a');
        }
    });
    decoder.setPrimary({{0, 0}, {1440, 900}});
    MonitorRegistry registry;
    long delivered = 0;
    for (int i = 0; i < monitors; ++i)
        registry.add(eventMask::allMouse | eventMask::keyDownAndUp, [&](const InputEvent& event) {
            delivered += event.keyCode;
            return false;
        });
    // Pointer motion, then a key press and release: what typing and moving
    // the mouse produce.
    const std::array<std::array<std::uint8_t, 32>, 4> stream{
        recorded(6, 0, 100, 200), recorded(6, 0, 101, 201), recorded(2, 38, 101, 201),
        recorded(3, 38, 101, 201)};
    InputEvent event;
    // Warm up: the event's text buffers reach their size once.
    for (const auto& bytes : stream)
        if (decoder.decode(bytes, event))
            registry.dispatch(event);
    const long before = quorvane::bench::allocations();
    std::size_t next = 0;
    for (auto _ : state) {
        if (decoder.decode(stream[next], event))
            registry.dispatch(event);
        next = (next + 1) % stream.size();
    }
    state.counters["allocations"] = static_cast<double>(quorvane::bench::allocations() - before);
    state.SetItemsProcessed(state.iterations());
    benchmark::DoNotOptimize(delivered);
}
BENCHMARK(decodeAndDispatch)->Arg(1)->Arg(4)->Arg(16)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

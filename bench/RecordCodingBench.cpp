// Encoding and decoding of the stored records, at the size of a heavy user:
// 50 workflows holding 2,000 memberships between them.
#include <benchmark/benchmark.h>

#include "core/PState.hpp"
#include "core/Preference.hpp"
#include "core/RecordCoding.hpp"

namespace {

using namespace quorvane::core;

Preference heavyPreference() {
    Preference preference;
    for (int w = 0; w < 50; ++w)
        preference.workflows.push_back(
            {"5C0E1D2A-7B3F-4E8A-9C61-0000000000" + std::to_string(10 + w),
             "Workflow " + std::to_string(w + 1), "star", "Yellow"});
    for (int m = 0; m < 2000; ++m)
        preference.taskWorkflows.push_back(
            {"Tweak" + std::to_string(m % 98) + "Task",
             preference.workflows[static_cast<std::size_t>(m % 50)].id});
    preference.setPlaysSound(true);
    preference.compactWorkflowId = preference.workflows.front().id;
    return preference;
}

void encodePreference(benchmark::State& state) {
    const Preference preference = heavyPreference();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto encoded = encodeRecord(preference);
        bytes = encoded.size();
        benchmark::DoNotOptimize(encoded);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}
BENCHMARK(encodePreference);

void decodePreference(benchmark::State& state) {
    const std::string encoded = encodeRecord(heavyPreference());
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeRecord<Preference>(encoded));
    state.SetBytesProcessed(static_cast<std::int64_t>(encoded.size()) * state.iterations());
}
BENCHMARK(decodePreference);

void encodePState(benchmark::State& state) {
    PState pState;
    pState.snapsWindows = true;
    pState._clickToHide = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeRecord(pState));
}
BENCHMARK(encodePState);

void decodePState(benchmark::State& state) {
    PState pState;
    pState._aeroShake = false;
    const std::string encoded = encodeRecord(pState);
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeRecord<PState>(encoded));
}
BENCHMARK(decodePState);

}  // namespace

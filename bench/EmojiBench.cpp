// The emoji table: loading it, and the two searches over it (Emoji Alias's
// shortcode, the picker's words).
#include <benchmark/benchmark.h>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileOps.hpp"
#include "text/emoji/EmojiIndex.hpp"
#include "text/emoji/EmojiLoader.hpp"

namespace {

const quorvane::text::EmojiIndex& index() {
    static quorvane::platform::memory::MemoryLog log;
    static const quorvane::text::EmojiIndex shipped(
        quorvane::text::EmojiLoader(QUORVANE_EMOJI_TABLE, log, quorvane::platform::posix::readFile).load());
    return shipped;
}

void BM_LoadTable(benchmark::State& state) {
    quorvane::platform::memory::MemoryLog log;
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::text::EmojiLoader(QUORVANE_EMOJI_TABLE, log, quorvane::platform::posix::readFile).load());
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond);

void BM_IndexTable(benchmark::State& state) {
    quorvane::platform::memory::MemoryLog log;
    const auto table = quorvane::text::EmojiLoader(QUORVANE_EMOJI_TABLE, log, quorvane::platform::posix::readFile).load();
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::text::EmojiIndex(table));
}
BENCHMARK(BM_IndexTable)->Unit(benchmark::kMillisecond);

void BM_AliasSearch(benchmark::State& state) {
    const auto& shipped = index();
    for (auto _ : state)
        benchmark::DoNotOptimize(shipped.aliasMatches(":smi"));
}
BENCHMARK(BM_AliasSearch)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();

void BM_AliasSearchOneLetter(benchmark::State& state) {
    const auto& shipped = index();
    for (auto _ : state)
        benchmark::DoNotOptimize(shipped.aliasMatches(":s"));
}
BENCHMARK(BM_AliasSearchOneLetter)->Unit(benchmark::kMicrosecond);

void BM_PickerSearch(benchmark::State& state) {
    const auto& shipped = index();
    for (auto _ : state)
        benchmark::DoNotOptimize(shipped.searchMatches("cat"));
}
BENCHMARK(BM_PickerSearch)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();

}  // namespace

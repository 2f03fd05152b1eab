// The cheat sheet's search over a large application's menus: 1,000 keys in
// 20 menus of 50, with a favourite or two.
#include <benchmark/benchmark.h>

#include <string>

#include "input/shortcuts/ShortcutSheet.hpp"

namespace {

using quorvane::input::ShortcutFavorite;
using quorvane::input::ShortcutInfo;
using quorvane::input::ShortcutKey;

const ShortcutInfo& bigApplication() {
    static const ShortcutInfo info = [] {
        const char* words[] = {"Open", "Close", "Export", "Duplicate", "Rename", "Move",
                               "Show", "Hide",  "Zoom",   "Select",    "Find",   "Replace"};
        ShortcutInfo made{.name = "Big"};
        for (int m = 0; m < 20; ++m) {
            auto& menu = made.menus.emplace_back();
            menu.name = "Menu " + std::to_string(m);
            menu.menuPaths = {menu.name};
            for (int k = 0; k < 50; ++k)
                menu.keys.push_back(
                    {.id = std::to_string(m * 50 + k),
                     .name = std::string(words[(m + k) % 12]) + " Item " + std::to_string(k),
                     .parts = {{"⌘", "Command"}, {"K", "K"}},
                     .menuPaths = menu.menuPaths});
        }
        return made;
    }();
    return info;
}

const std::vector<ShortcutFavorite> favorites{{"Big", "Zoom Item 3"}, {"Big", "Find Item 40"}};

void BM_SearchByName(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::input::sheetRows(bigApplication(), "export", favorites));
}
BENCHMARK(BM_SearchByName)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();

void BM_SearchByPath(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::input::sheetRows(bigApplication(), "menu 1", favorites));
}
BENCHMARK(BM_SearchByPath)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();

void BM_NoSearch(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvane::input::sheetRows(bigApplication(), "", favorites));
}
BENCHMARK(BM_NoSearch)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly();

}  // namespace

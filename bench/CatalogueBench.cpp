// Building the catalogue and reloading a list, with the built-in tweaks alone
// and with 10,000 script tweaks after them.
#include <benchmark/benchmark.h>

#include "core/TweaksHolder.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"

namespace {

using namespace quorvane;

class Script final : public core::BuiltinTweak, public core::ScriptTweak {
  public:
    using BuiltinTweak::BuiltinTweak;
};

class ManyScripts final : public core::ScriptTweakSource {
  public:
    explicit ManyScripts(int count) {
        for (int i = 0; i < count; ++i)
            scripts_.push_back(std::make_shared<Script>(core::TweakInfo{
                .id = "script-" + std::to_string(i),
                .name = "Script #" + std::to_string(i + 1),
                .description = i % 10 == 0 ? "Restart the Dock" : "A simple description",
                .icon = "💎",
                .categories = {core::Category::script}}));
    }
    std::vector<std::shared_ptr<core::Tweak>> scriptTweaks() const override { return scripts_; }
    void deleteScript(const std::string&) override {}

  private:
    std::vector<std::shared_ptr<core::Tweak>> scripts_;
};

struct World {
    explicit World(int scriptCount) : scripts(scriptCount) {}
    platform::memory::MemoryBlobStore blobs;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryLog log;
    platform::memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    ManyScripts scripts;
    core::TweakFactory factory;
    core::TweakNotifications notifications;
};

void buildCatalogue(benchmark::State& state) {
    World world(0);
    for (auto _ : state) {
        core::Catalogue catalogue(world.factory, world.store, world.log, world.scripts);
        benchmark::DoNotOptimize(catalogue.allTweaks());
    }
}
BENCHMARK(buildCatalogue);

void reload(benchmark::State& state, core::TweakGroup group, std::string search) {
    World world(static_cast<int>(state.range(0)));
    core::Catalogue catalogue(world.factory, world.store, world.log, world.scripts);
    core::TweaksHolder holder(core::TweaksPlace::main, catalogue, world.store, world.queue,
                              world.notifications);
    holder.searchText.set(std::move(search));
    holder.group.set(std::move(group));
    for (auto _ : state) {
        holder.reload();
        benchmark::DoNotOptimize(holder.tweaks.get().size());
    }
    state.counters["shown"] = static_cast<double>(holder.tweaks.get().size());
}
BENCHMARK_CAPTURE(reload, all, core::TweakGroup::all(), "")->Arg(0)->Arg(10000);
BENCHMARK_CAPTURE(reload, category, core::TweakGroup::category(core::Category::dock), "")
    ->Arg(0)
    ->Arg(10000);
BENCHMARK_CAPTURE(reload, search, core::TweakGroup::all(), "dock")->Arg(0)->Arg(10000);

}  // namespace

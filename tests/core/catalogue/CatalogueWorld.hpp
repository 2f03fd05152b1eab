#pragma once

#include <algorithm>

#include "core/CanToggle.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"

namespace quorvane::core::testing {

// Every catalogue tweak, with its real state binding, recording what was
// asked of it in one shared journal ("run SnapWindowsTask").
class RecordingTweak : public BuiltinTweak {
  public:
    RecordingTweak(TweakInfo info, std::vector<std::string>& journal)
        : BuiltinTweak(std::move(info)), journal_(journal) {}
    core::RunOutcome run() override {
        journal_.push_back("run " + id());
        return core::RunOutcome::done();
    }
    void refresh() override { journal_.push_back("refresh " + id()); }
    void reset() override { journal_.push_back("reset " + id()); }

  private:
    std::vector<std::string>& journal_;
};

class RecordingMToggle final : public RecordingTweak, public CanMToggle {
  public:
    RecordingMToggle(TweakInfo info, std::vector<std::string>& journal, Store& store,
                     bool MState::*field)
        : RecordingTweak(std::move(info), journal), CanMToggle(store, field) {}
};

class RecordingPToggle final : public RecordingTweak, public CanPToggle {
  public:
    RecordingPToggle(TweakInfo info, std::vector<std::string>& journal, Store& store,
                     PKeyPath field)
        : RecordingTweak(std::move(info), journal), CanPToggle(store, field) {}
};

class RecordingOwnToggle final : public RecordingTweak, public InMemoryToggle {
  public:
    using RecordingTweak::RecordingTweak;
};

// A user's script tweak for the lists.
class FakeScript final : public BuiltinTweak, public ScriptTweak {
  public:
    FakeScript(std::string id, std::string name)
        : BuiltinTweak(TweakInfo{.id = std::move(id),
                                 .name = std::move(name),
                                 .description = "A simple description",
                                 .icon = "💎",
                                 .categories = {Category::script}}) {}
};

class FakeScripts final : public ScriptTweakSource {
  public:
    std::vector<std::shared_ptr<Tweak>> scriptTweaks() const override { return scripts; }
    void deleteScript(const std::string& id) override {
        std::erase_if(scripts, [&](const auto& script) { return script->id() == id; });
        changed.emit();
    }
    std::vector<std::shared_ptr<Tweak>> scripts;
};

// The catalogue over memory stores and a virtual main queue. The tests
// and the fuzz targets build on it.
struct CatalogueWorld {
    platform::memory::MemoryBlobStore blobs;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryLog log;
    platform::memory::MemoryUserDefaults defaults;
    Persistor persistor{&blobs, queue, log};
    Store store{defaults, persistor};
    std::vector<std::string> journal;
    FakeScripts scripts;
    // The Dock's tweaks act on the simulated Mac's preferences, the rest
    // on this desktop.
    platform::AdapterChoices choices;
    TweakFactory factory = recordingFactory();
    Catalogue catalogue{factory, store, log, scripts};

    // How many of the catalogue's tweaks are in `category`.
    std::size_t tweaksIn(Category category) const {
        const auto all = catalogue.allTweaks();
        return static_cast<std::size_t>(
            std::count_if(all.begin(), all.end(), [&](const auto& tweak) {
                return std::ranges::find(tweak->categories(), category) !=
                       tweak->categories().end();
            }));
    }

    TweakFactory recordingFactory() {
        TweakFactory made;
        choices.set(platform::Port::preferences,
                    platform::ActsOn::simulatedMac("Linux has no Dock"));
        made.useChoices(choices);
        for (const auto& row : builtinCatalogue()) {
            const bool dock = std::ranges::find(row.info.categories, Category::dock) !=
                              row.info.categories.end();
            made.add(row.info.id, [this](const CatalogueRow& r) -> std::shared_ptr<Tweak> {
                if (auto field = std::get_if<bool MState::*>(&r.state))
                    return std::make_shared<RecordingMToggle>(r.info, journal, store, *field);
                if (auto field = std::get_if<PKeyPath>(&r.state))
                    return std::make_shared<RecordingPToggle>(r.info, journal, store, *field);
                if (std::holds_alternative<OwnState>(r.state))
                    return std::make_shared<RecordingOwnToggle>(r.info, journal);
                return std::make_shared<RecordingTweak>(r.info, journal);
            }, {dock ? platform::Port::preferences : platform::Port::desktop});
        }
        return made;
    }

    std::shared_ptr<Tweak> tweak(const std::string& id) { return catalogue.find(id); }

    static std::vector<std::string> idsOf(const std::vector<std::shared_ptr<Tweak>>& tweaks) {
        std::vector<std::string> ids;
        for (const auto& tweak : tweaks)
            ids.push_back(tweak->id());
        return ids;
    }
};

}  // namespace quorvane::core::testing

#include <gtest/gtest.h>

#include "core/CanToggle.hpp"
#include "core/Store.hpp"
#include "core/catalogue/BuiltinCatalogue.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"

namespace quorvane::core {
namespace {

using namespace std::chrono_literals;

TweakInfo makeInfo(const std::string& id) {
    return TweakInfo{
        .id = id, .name = id, .description = "", .icon = "🧪", .categories = {Category::utility}};
}

class MToggleTweak final : public BuiltinTweak, public CanMToggle {
  public:
    MToggleTweak(Store& store, bool MState::*field)
        : BuiltinTweak(makeInfo("MToggle")), CanMToggle(store, field) {}
};

class PToggleTweak final : public BuiltinTweak, public CanPToggle {
  public:
    PToggleTweak(Store& store, PKeyPath field)
        : BuiltinTweak(makeInfo("PToggle")), CanPToggle(store, field) {}
};

struct StoreTest : ::testing::Test {
    platform::memory::MemoryBlobStore blobs;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryLog log;
    platform::memory::MemoryUserDefaults defaults;
    Persistor persistor{&blobs, queue, log};

    std::unique_ptr<Store> launch() { return std::make_unique<Store>(defaults, persistor); }
};

TEST_F(StoreTest, firstLaunchHasTheInitialValues) {
    auto store = launch();
    EXPECT_TRUE(store->preference->showsInMenuBar);
    EXPECT_FALSE(store->preference->checkForUpdateAtLaunch);
    EXPECT_FALSE(store->preference->playsSound());
    EXPECT_FALSE(store->preference->compactWorkflowId);
    EXPECT_EQ(store->mState.get(), MState{});
    for (const auto& field : mStateFields)
        EXPECT_FALSE(store->mState.get().*field.keyPath) << field.name;
    EXPECT_EQ(store->pState.get(), PState{});
    EXPECT_FALSE(PToggleTweak(*store, &PState::_clickToHide).isOn());
    EXPECT_TRUE(store->hideMainWindowAtLaunch.get());
    // No two tweaks of the catalogue share a field (some fields are state a
    // tweak keeps beside its own, bound to no row).
    for (const auto& field : mStateFields)
        EXPECT_LE(std::count_if(builtinCatalogue().begin(), builtinCatalogue().end(),
                                [&](const CatalogueRow& row) {
                                    return row.state == StateBinding(field.keyPath);
                                }),
                  1)
            << field.name;
    EXPECT_EQ(persistor.keys(), (std::vector<std::string>{"preference", "pState"}));
}

TEST_F(StoreTest, registeringLoadsTheStoredRecordsAtOnce) {
    blobs.blobs["preference"] =
        R"({"showsInMenuBar":false,"checkForUpdateAtLaunch":true,"taskWorkflows":[],"workflows":[],"_playsSound":true})";
    blobs.blobs["pState"] =
        R"({"autoPlainText":false,"emojiAlias":false,"emojiPicker":false,"highlightsActiveWindow":false,)"
        R"("snapsWindows":true,"reverseMouseScrolling":false,"visualizesKeystroke":false,)"
        R"("visualizeCursor":false,"hideStatusItems":false,"focusOneApp":false,"previewsDockWindows":false})";
    auto store = launch();
    EXPECT_FALSE(store->preference->showsInMenuBar);
    EXPECT_TRUE(store->preference->playsSound());
    EXPECT_TRUE(PToggleTweak(*store, &PState::snapsWindows).isOn());
    // A record written before _clickToHide existed still loads, and reads off.
    EXPECT_FALSE(PToggleTweak(*store, &PState::_clickToHide).isOn());
    // Loading is not a change: nothing is written back.
    queue.advance(5s);
    EXPECT_EQ(blobs.saveCount, 0);
}

TEST_F(StoreTest, anUndecodableRecordIsKeptAsideAndTheDefaultsUsed) {
    const std::string missingSnap =
        R"({"autoPlainText":true,"emojiAlias":false,"emojiPicker":false,"highlightsActiveWindow":false,)"
        R"("reverseMouseScrolling":false,"visualizesKeystroke":false,)"
        R"("visualizeCursor":false,"hideStatusItems":false,"focusOneApp":false,"previewsDockWindows":false})";
    blobs.blobs["pState"] = missingSnap;
    auto store = launch();
    EXPECT_EQ(store->pState.get(), PState{});
    EXPECT_EQ(blobs.blobs.at("pState.undecodable"), missingSnap);
    EXPECT_TRUE(log.contains("pState.undecodable"));

    persistor.saveAll();
    EXPECT_EQ(blobs.blobs.at("pState.undecodable"), missingSnap);
    EXPECT_TRUE(decodeRecord<PState>(blobs.blobs.at("pState")));
}

TEST_F(StoreTest, togglesChangeOnlyTheirFieldAndPublishTheWholeRecordOnce) {
    auto store = launch();
    std::vector<MState> published;
    auto watch = store->mState.subscribe([&](const MState& state) { published.push_back(state); });

    MToggleTweak dock(*store, &MState::autoHideDock);
    dock.toggle();
    ASSERT_EQ(published.size(), 1u);
    EXPECT_TRUE(published.back().autoHideDock);
    MState expected;
    expected.autoHideDock = true;
    EXPECT_EQ(published.back(), expected);

    dock.toggle();
    EXPECT_EQ(published.size(), 2u);
    EXPECT_EQ(store->mState.get(), MState{});
    EXPECT_EQ(store->pState.get(), PState{});

    PToggleTweak shake(*store, &PState::_aeroShake);
    shake.setOn(false);
    EXPECT_EQ(store->pState->_aeroShake, false);  // assigning stores a present value
    shake.toggle();
    EXPECT_TRUE(shake.isOn());
    EXPECT_EQ(dynamic_cast<CanToggle*>(static_cast<Tweak*>(&shake)), asToggle(shake));
    EXPECT_EQ(asMToggle(shake), nullptr);
    EXPECT_EQ(asPToggle(shake)->pKeyPath(), PKeyPath(&PState::_aeroShake));
}

TEST_F(StoreTest, hideMainWindowAtLaunchLivesInTheUserDefaults) {
    defaults.set("Store.hideMainWindowAtLaunch", false);
    auto store = launch();
    EXPECT_FALSE(store->hideMainWindowAtLaunch.get());
    store->hideMainWindowAtLaunch.set(true);
    EXPECT_EQ(defaults.boolValue("Store.hideMainWindowAtLaunch"), true);
}

TEST_F(StoreTest, changesReachTheDiskWithoutWaitingForExit) {
    auto store = launch();
    store->pState.modify([](PState& state) { state.snapsWindows = true; });
    store->preference.modify([](Preference& preference) { preference.setPlaysSound(true); });
    EXPECT_FALSE(blobs.blobs.contains("pState"));
    queue.advance(Persistor::maxSaveDelay);

    // The next launch sees both changes, although saveAll() never ran.
    store.reset();
    auto next = launch();
    EXPECT_TRUE(next->pState->snapsWindows);
    EXPECT_TRUE(next->preference->playsSound());
}

}  // namespace
}  // namespace quorvane::core

#include <gtest/gtest.h>

#include "core/catalogue/CatalogueFixture.hpp"
#include "core/shortcuts/ShortcutService.hpp"
#include "simmac/SimHotkeys.hpp"

namespace quorvane::core {
namespace {

using platform::KeyCombination;

struct ShortcutServiceTest : testing::CatalogueFixture {
    platform::memory::MemoryUserDefaults hotkeyStore;
    std::optional<platform::sim::SimHotkeys> hotkeys{std::in_place, hotkeyStore, log};
    std::optional<ShortcutService> shortcuts;

    void launch() {
        shortcuts.reset();
        hotkeys.emplace(hotkeyStore, log);
        shortcuts.emplace(catalogue, *hotkeys);
        shortcuts->registerAll();
        shortcuts->reload();
    }
    ~ShortcutServiceTest() override { shortcuts.reset(); }
};

TEST_F(ShortcutServiceTest, aShortcutFlipsAToggleAndAppliesItOrRunsAOneShot) {
    launch();
    ASSERT_TRUE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+S"}));
    ASSERT_TRUE(hotkeys->setCombination("EmptyTrashTask", {"Ctrl+Alt+T"}));
    ASSERT_EQ(shortcuts->taskShortcuts->size(), 2u);
    EXPECT_EQ(shortcuts->taskShortcuts.get()[0].task->id(), "EmptyTrashTask");  // catalogue order

    EXPECT_TRUE(hotkeys->press({"Ctrl+Alt+S"}));
    EXPECT_TRUE(asToggle(*tweak("SnapWindowsTask"))->isOn());
    EXPECT_TRUE(hotkeys->press({"Ctrl+Alt+S"}));
    EXPECT_FALSE(asToggle(*tweak("SnapWindowsTask"))->isOn());
    hotkeys->press({"Ctrl+Alt+T"});
    EXPECT_EQ(journal, (std::vector<std::string>{"run SnapWindowsTask", "run SnapWindowsTask",
                                                 "run EmptyTrashTask"}));
}

TEST_F(ShortcutServiceTest, aCombinationBelongsToOneTweakAndRemoveAllFreesThem) {
    launch();
    ASSERT_TRUE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+S"}));
    auto taken = hotkeys->setCombination("EmptyTrashTask", {"Ctrl+Alt+S"});
    ASSERT_FALSE(taken);
    EXPECT_EQ(taken.error().message, "Ctrl+Alt+S is already the shortcut of SnapWindowsTask");
    EXPECT_FALSE(hotkeys->setCombination("EmptyTrashTask", {"Meta+Tab"}));  // the system's
    EXPECT_FALSE(hotkeys->combination("EmptyTrashTask"));

    // Re-recording moves the tweak to its new combination.
    ASSERT_TRUE(hotkeys->setCombination("SnapWindowsTask", {"Ctrl+Alt+W"}));
    EXPECT_FALSE(hotkeys->press({"Ctrl+Alt+S"}));

    shortcuts->removeAll();
    EXPECT_TRUE(shortcuts->taskShortcuts->empty());
    EXPECT_FALSE(hotkeys->press({"Ctrl+Alt+W"}));
    EXPECT_TRUE(journal.empty());
}

// A shortcut stored in an earlier session that this one refuses is no way
// back from a tweak that takes every key: it is stored, but not active.
TEST_F(ShortcutServiceTest, aStoredShortcutTheSessionRefusesIsNotActive) {
    hotkeyStore.set(platform::HotkeyRegistry::defaultsKey("BlackOutTask"), std::string("Meta+Tab"));
    hotkeyStore.set(platform::HotkeyRegistry::defaultsKey("DimTask"), std::string("Ctrl+Alt+D"));
    launch();
    EXPECT_TRUE(hotkeys->combination("BlackOutTask"));
    EXPECT_FALSE(hotkeys->isActive("BlackOutTask"));
    EXPECT_TRUE(hotkeys->isActive("DimTask"));
    hotkeys->suspend();  // a recorder listens: it comes back afterwards
    EXPECT_TRUE(hotkeys->isActive("DimTask"));
    hotkeys->resume();
    hotkeys->clear("DimTask");
    EXPECT_FALSE(hotkeys->isActive("DimTask"));
}

// Each cleared shortcut makes the service reload the very list Remove All
// walks; with more than one listed that walked freed memory.
TEST_F(ShortcutServiceTest, removeAllClearsManyShortcutsWhileTheListIsReloaded) {
    launch();
    int notified = 0;
    hotkeys->observeChanges([&](const std::string&) {
        // An observer that starts observing too must not disturb the others.
        hotkeys->observeChanges([&](const std::string&) { ++notified; });
    });
    for (const auto& [id, keys] : {std::pair{"SnapWindowsTask", "Ctrl+Alt+S"},
                                   {"EmptyTrashTask", "Ctrl+Alt+T"},
                                   {"AutoHideDockTask", "Ctrl+Alt+D"}})
        ASSERT_TRUE(hotkeys->setCombination(id, {keys}));
    ASSERT_EQ(shortcuts->taskShortcuts->size(), 3u);
    shortcuts->removeAll();
    EXPECT_TRUE(shortcuts->taskShortcuts->empty());
    for (const char* keys : {"Ctrl+Alt+S", "Ctrl+Alt+T", "Ctrl+Alt+D"})
        EXPECT_FALSE(hotkeys->press({keys})) << keys;
    EXPECT_GT(notified, 0);
}

TEST_F(ShortcutServiceTest, scriptShortcutsWorkAtOnceAndAfterARestartWithOneHandlerEach) {
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("SCRIPT-1", "Backup"));
    launch();
    ASSERT_TRUE(hotkeys->setCombination("SCRIPT-1", {"Ctrl+Shift+B"}));
    int runs = 0;
    hotkeys->onKeyDown("SCRIPT-1", [&] { ++runs; });
    launch();  // the next run of the program reads the stored combination
    hotkeys->onKeyDown("SCRIPT-1", [&] { ++runs; });
    EXPECT_TRUE(hotkeys->press({"Ctrl+Shift+B"}));
    EXPECT_EQ(runs, 1);

    // A script made while the program runs can be bound without a restart.
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("SCRIPT-2", "Deploy"));
    scripts.changed.emit();
    scripts.changed.emit();
    int deploys = 0;
    hotkeys->onKeyDown("SCRIPT-2", [&] { ++deploys; });
    ASSERT_TRUE(hotkeys->setCombination("SCRIPT-2", {"Ctrl+Shift+D"}));
    EXPECT_TRUE(hotkeys->press({"Ctrl+Shift+D"}));
    EXPECT_EQ(deploys, 1);
    EXPECT_EQ(shortcuts->taskShortcuts->size(), 2u);
}

}  // namespace
}  // namespace quorvane::core

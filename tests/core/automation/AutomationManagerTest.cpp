#include <gtest/gtest.h>

#include "core/RecordCoding.hpp"
#include "core/automation/AutomationManager.hpp"
#include "core/automation/AutomationViewModel.hpp"
#include "core/catalogue/CatalogueFixture.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "platform/SystemEventCenter.hpp"

namespace quorvane::core {
namespace {

using Event = Automation::Event;
using Action = Automation::Action;

struct AutomationManagerTest : testing::CatalogueFixture {
    platform::memory::MemoryJournal events_journal;
    platform::SystemEventCenter events{events_journal};
    std::optional<AutomationManager> manager;

    void launch() { manager.emplace(catalogue, persistor, events, log); }
    bool isOn(const std::string& id) { return asToggle(*tweak(id))->isOn(); }
};

TEST_F(AutomationManagerTest, reactionsRunInStoredOrderOnTheirOwnEventOnly) {
    launch();
    asToggle(*tweak("SnapWindowsTask"))->setOn(true);
    manager->setAction(Action::toggleOff, "SnapWindowsTask", Event::screenLocked);
    manager->setAction(Action::run, "EmptyTrashTask", Event::screenLocked);
    manager->setAction(Action::run, "ClearClipboardTask", Event::screenUnlocked);

    EXPECT_EQ(events.post("com.apple.screenIsLocked"), 1u);
    EXPECT_EQ(journal, (std::vector<std::string>{"run SnapWindowsTask", "run EmptyTrashTask"}));
    EXPECT_FALSE(isOn("SnapWindowsTask"));

    // Each event reaches its own rules, under the exact notification names.
    journal.clear();
    events.post("com.apple.screensaver.didstop");
    EXPECT_TRUE(journal.empty());
    manager->setAction(Action::run, "EmptyTrashTask", Event::screenSaverStop);
    events.post("com.apple.screensaver.didStop");
    EXPECT_EQ(journal, std::vector<std::string>{"run EmptyTrashTask"});
}

TEST_F(AutomationManagerTest, turningOnAndOffAppliesAChangedStateAndLeavesOneShotsAlone) {
    launch();
    manager->setAction(Action::toggleOn, "SnapWindowsTask", Event::didWake);
    manager->setAction(Action::toggleOn, "EmptyTrashTask", Event::didWake);
    manager->setAction(Action::toggleOff, "KeepMacAwakeTask", Event::didWake);

    manager->handle(Event::didWake);
    EXPECT_TRUE(isOn("SnapWindowsTask"));
    // Switched on and applied once; the one-shot is left alone, and the
    // mirrored toggle, read back first, was already off.
    EXPECT_EQ(journal,
              (std::vector<std::string>{"run SnapWindowsTask", "refresh KeepMacAwakeTask"}));

    journal.clear();
    manager->handle(Event::didWake);
    // Already as wanted: nothing to apply.
    EXPECT_EQ(journal, std::vector<std::string>{"refresh KeepMacAwakeTask"});

    // "Run" applies the toggle's current state without flipping it.
    journal.clear();
    manager->setAction(Action::run, "SnapWindowsTask", Event::didWake);
    manager->handle(Event::didWake);
    EXPECT_EQ(journal,
              (std::vector<std::string>{"run SnapWindowsTask", "refresh KeepMacAwakeTask"}));
    EXPECT_TRUE(isOn("SnapWindowsTask"));
}

TEST_F(AutomationManagerTest, editsKeepOneRulePerTweakAndEventAndSurviveARestart) {
    launch();
    manager->add("EmptyTrashTask", Event::willSleep);
    manager->setAction(Action::run, "EmptyTrashTask", Event::willSleep);
    manager->add("EmptyTrashTask", Event::willSleep);  // already there: keeps "Run"
    manager->add("SnapWindowsTask", Event::willSleep);
    manager->add("EmptyTrashTask", Event::screenLocked);
    manager->remove("EmptyTrashTask", Event::screenLocked);
    const Automation expected{{{Event::willSleep, "EmptyTrashTask", Action::run},
                               {Event::willSleep, "SnapWindowsTask", Action::none}}};
    EXPECT_EQ(manager->automation.get(), expected);

    persistor.saveAll();
    EXPECT_EQ(blobs.blobs.at(AutomationManager::recordKey),
              R"({"reactions":[{"action":"run","event":"willSleep","tweakId":"EmptyTrashTask"},)"
              R"({"action":"none","event":"willSleep","tweakId":"SnapWindowsTask"}]})");
    manager.reset();
    launch();
    EXPECT_EQ(manager->automation.get(), expected);
}

TEST_F(AutomationManagerTest, aStoredRecordWithDuplicateRulesKeepsTheFirstOfEach) {
    std::string stored = R"({"reactions":[)";
    for (int i = 0; i < 1000; ++i)
        stored += std::string(i ? "," : "") + R"({"event":"screenLocked","tweakId":"EmptyTrashTask","action":")" +
                  (i == 0 ? "run" : "none") + R"("})";
    stored += "]}";
    ASSERT_TRUE(blobs.save(AutomationManager::recordKey, stored));
    launch();
    ASSERT_EQ(manager->automation->reactions.size(), 1u);
    EXPECT_EQ(manager->automation->reactions[0].action, Action::run);
    EXPECT_TRUE(log.contains("dropped 999 duplicate rules"));
}

TEST_F(AutomationManagerTest, rulesForTweaksThatAreGoneStayStoredButDoNothingAndAreNotShown) {
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("SCRIPT-1", "Backup"));
    launch();
    manager->setAction(Action::run, "SCRIPT-1", Event::screenLocked);
    scripts.deleteScript("SCRIPT-1");

    manager->handle(Event::screenLocked);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(manager->automation->reactions.size(), 1u);
    const auto sections = AutomationViewModel::sections(manager->automation.get(), catalogue);
    ASSERT_EQ(sections.size(), allAutomationEvents.size());
    EXPECT_EQ(sections[5].event, Event::screenLocked);
    EXPECT_TRUE(sections[5].items.empty());  // "No tweaks yet"
}

TEST_F(AutomationManagerTest, anUndecodableRuleSetStartsEmptyAndIsKeptAside) {
    const std::string stored =
        R"({"reactions":[{"event":"screenDimmed","tweakId":"EmptyTrashTask",)"
        R"("action":"run"}]})";
    blobs.blobs[AutomationManager::recordKey] = stored;
    launch();
    EXPECT_TRUE(manager->automation->reactions.empty());
    EXPECT_EQ(blobs.blobs.at(std::string(AutomationManager::recordKey) + ".undecodable"), stored);
}

// An event no rule names is not observed, so nothing has to watch for it.
TEST_F(AutomationManagerTest, onlyTheEventsTheRulesNameAreObserved) {
    std::vector<std::string> firstObserved;
    events.onFirstObserver([&](const std::string& name) { firstObserved.push_back(name); });
    launch();
    EXPECT_TRUE(firstObserved.empty());

    manager->add("EmptyTrashTask", Event::willSleep);
    manager->add("SnapWindowsTask", Event::willSleep);
    manager->add("EmptyTrashTask", Event::screenLocked);
    EXPECT_EQ(firstObserved, (std::vector<std::string>{"NSWorkspaceWillSleepNotification",
                                                       "com.apple.screenIsLocked"}));
    EXPECT_FALSE(events.isObserved("NSWorkspaceDidWakeNotification"));

    // Observed while any rule names it.
    manager->remove("EmptyTrashTask", Event::willSleep);
    EXPECT_TRUE(events.isObserved("NSWorkspaceWillSleepNotification"));
    manager->remove("SnapWindowsTask", Event::willSleep);
    EXPECT_FALSE(events.isObserved("NSWorkspaceWillSleepNotification"));

    // Stored rules are observed from the launch on.
    persistor.saveAll();
    manager.reset();
    EXPECT_FALSE(events.isObserved("com.apple.screenIsLocked"));
    firstObserved.clear();
    launch();
    EXPECT_EQ(firstObserved, std::vector<std::string>{"com.apple.screenIsLocked"});
}

TEST_F(AutomationManagerTest, theManagerStopsObservingWhenItGoes) {
    launch();
    manager->setAction(Action::run, "EmptyTrashTask", Event::willSleep);
    manager.reset();
    EXPECT_EQ(events.post("NSWorkspaceWillSleepNotification"), 0u);
    EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace quorvane::core

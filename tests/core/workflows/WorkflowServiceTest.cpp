#include <gtest/gtest.h>

#include <regex>

#include "core/catalogue/CatalogueFixture.hpp"
#include "core/workflows/WorkflowIcons.hpp"
#include "core/workflows/WorkflowService.hpp"

namespace quorvane::core {
namespace {

struct WorkflowServiceTest : testing::CatalogueFixture {
    std::size_t nextRandom = 0;
    WorkflowService service{store, catalogue, queue,
                            [this](std::size_t bound) { return nextRandom++ % bound; }};

    std::vector<std::string> members(const Workflow& workflow) {
        return idsOf(service.tweaksIn(workflow));
    }
};

TEST_F(WorkflowServiceTest, theFirstLaunchMakesOneFavoriteWithTheMenuBarTweaksInCatalogueOrder) {
    service.createDefaultWorkflowIfNeeded();
    service.createDefaultWorkflowIfNeeded();  // a second launch
    ASSERT_EQ(service.workflows().size(), 1u);
    EXPECT_EQ(service.workflows()[0], (Workflow{"favorite", "Favorite", "star", "Yellow"}));
    std::vector<std::string> flagged;
    for (const auto& tweak : catalogue.allTweaks())
        if (tweak->shouldMenuBar())
            flagged.push_back(tweak->id());
    ASSERT_FALSE(flagged.empty());
    EXPECT_EQ(members(service.workflows()[0]), flagged);
    EXPECT_EQ(flagged.front(), "HideAllAppsTask");

    // Removing every workflow brings Favorite back at the next launch.
    service.remove("favorite");
    EXPECT_TRUE(store.preference->taskWorkflows.empty());
    service.createDefaultWorkflowIfNeeded();
    EXPECT_EQ(members(service.workflows()[0]), flagged);
}

TEST_F(WorkflowServiceTest, membershipTogglesAndMoveToTopSurviveASaveAndReload) {
    auto work = service.add();
    auto dock = tweak("AutoHideDockTask");
    auto trash = tweak("EmptyTrashTask");
    auto snap = tweak("SnapWindowsTask");
    const auto before = store.preference.get();
    service.toggle(*dock, work);
    service.toggle(*dock, work);  // already in: taken out again
    EXPECT_EQ(store.preference.get(), before);

    for (const auto& member : {dock, trash, snap})
        service.toggle(*member, work);
    service.moveToTop(*snap, work);
    EXPECT_EQ(members(work),
              (std::vector<std::string>{"SnapWindowsTask", "AutoHideDockTask", "EmptyTrashTask"}));
    EXPECT_EQ(service.workflowsContaining(*snap), std::vector<Workflow>{work});

    persistor.saveAll();
    Persistor reloadedPersistor(&blobs, queue, log);
    platform::memory::MemoryUserDefaults reloadedDefaults;
    Store reloaded(reloadedDefaults, reloadedPersistor);
    EXPECT_EQ(reloaded.preference.get(), store.preference.get());
}

TEST_F(WorkflowServiceTest, newWorkflowsAreNumberedPerRunWithAFreshIdGlyphAndColour) {
    auto first = service.add();
    auto second = service.add();
    EXPECT_EQ(first.name, "Workflow 1");
    EXPECT_EQ(second.name, "Workflow 2");
    EXPECT_NE(first.id, second.id);
    EXPECT_TRUE(std::regex_match(
        first.id,
        std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
        << first.id;
    EXPECT_TRUE(workflowColorFromRawValue(first.colorHex).has_value());
    EXPECT_NE(workflowGlyphCodePoint(first.icon), 0u);

    second.name = "Morning";
    second.colorHex = "Teal";
    service.update(second);
    EXPECT_EQ(*service.find(second.id), second);

    WorkflowService nextRun{store, catalogue, queue};
    EXPECT_EQ(nextRun.add().name, "Workflow 1");  // the counter restarts with the program
}

TEST_F(WorkflowServiceTest, deletedScriptsLeaveTheirStoredMembershipsButAreNotListed) {
    auto work = service.add();
    scripts.scripts.push_back(std::make_shared<testing::FakeScript>("SCRIPT-1", "Backup"));
    service.toggle(*tweak("SCRIPT-1"), work);
    service.toggle(*tweak("EmptyTrashTask"), work);
    scripts.deleteScript("SCRIPT-1");
    EXPECT_EQ(members(work), std::vector<std::string>{"EmptyTrashTask"});
    EXPECT_EQ(store.preference->taskWorkflows.size(), 2u);

    service.runAll(work);
    EXPECT_TRUE(journal.empty());  // each run is its own job on the main queue
    queue.drain();
    EXPECT_EQ(journal, std::vector<std::string>{"run EmptyTrashTask"});
}

}  // namespace
}  // namespace quorvane::core

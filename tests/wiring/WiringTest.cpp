#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "wiring/AppServices.hpp"
#include "control/InProcessInstance.hpp"
#include "core/CanToggle.hpp"
#include "core/automation/AutomationManager.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::app {
namespace {

// The ids no folder gives behaviour yet, sorted: none, now that every
// folder has landed. A tweak that loses its maker shows up here.
const std::vector<std::string> stillUnavailable{};

void expectSoundRegistration(const core::Registration& registration) {
    for (const auto& id : registration.refusedIds)
        ADD_FAILURE() << "a second maker was registered for " << id;
    for (const auto& id : registration.unknownIds)
        ADD_FAILURE() << "a maker names " << id << ", which is not in the catalogue";
    for (const auto& id : registration.mismatchedIds)
        ADD_FAILURE() << id << "'s maker does not match its row's state binding";
}

// The program's own services, on folders of the test's.
struct ProgramServices {
    testing::TemporaryDirectory home;
    HeadlessApplication application;
    AppServices services{platform::posix::XdgDirectories{.home = home.path(),
                                                         .dataHome = home.path() / "data",
                                                         .configHome = home.path() / "config",
                                                         .stateHome = home.path() / "state",
                                                         .cacheHome = home.path() / "cache",
                                                         .runtimeDir = home.path() / "run"}};
};

TEST(Wiring, everyFolderRegistersSoundlyAndTheUnavailableListIsKnown) {
    ProgramServices program;
    const auto& registration = program.services.catalogue().registration();
    expectSoundRegistration(registration);

    auto unavailable = registration.unavailableIds;
    std::sort(unavailable.begin(), unavailable.end());
    EXPECT_EQ(unavailable, stillUnavailable);
    for (const auto& tweak : program.services.catalogue().builtinTweaks()) {
        const bool listed = std::binary_search(stillUnavailable.begin(), stillUnavailable.end(),
                                               tweak->id());
        EXPECT_EQ(tweak->isAvailable(), !listed) << tweak->id();
    }
}

TEST(Wiring, startExitAndStopAreOrderedListsAndEveryFolderIsDrained) {
    ProgramServices program;
    auto names = [](const std::vector<LifecycleStep>& steps) {
        std::vector<std::string> named;
        for (const auto& step : steps)
            named.push_back(step.name);
        return named;
    };
    EXPECT_EQ(names(program.services.startSteps()),
              (std::vector<std::string>{"register quorvane: links", "start triggers",
                                        "follow the frontmost application",
                                        "restore colour settings a previous run left",
                                        "restore mice's scrolling a previous run left",
                                        "register shortcuts", "create the default workflow",
                                        "apply persisted toggles later", "start automation"}));
    EXPECT_EQ(names(program.services.exitSteps()),
              (std::vector<std::string>{"reset tweaks", "save records"}));
    EXPECT_EQ(names(program.services.stopSteps()),
              (std::vector<std::string>{"end running commands", "stop text", "stop displays", "stop input",
                                        "stop windows",
                                        "stop triggers", "stop system"}));
    EXPECT_EQ(program.services.backgroundWorkers().names(),
              (std::vector<std::string>{"Commands", "Audio", "Bluetooth", "Browsers", "Power", "ScriptRunner", "Keyboard settings", "ScriptTweaks", "Plain Text", "Network", "Capture", "Vision", "Emoji"}));
}

// The session's events are watched from the first rule that names one:
// before it, nothing is started and nothing is said on the Activity page.
TEST(Wiring, theSessionsEventsAreWatchedFromTheFirstRuleOn) {
    ::setenv("QUORVANE_SYSTEM_EVENTS", "simulated", 1);
    ProgramServices program;
    program.services.start();
    std::vector<std::string> notices;
    program.services.watchSessionEvents(
        [&](const std::string& notice) { notices.push_back(notice); });
    EXPECT_TRUE(notices.empty());

    auto& automation = *program.services.automation();
    automation.add("EmptyTrashTask", core::Automation::Event::screenLocked);
    automation.add("EmptyTrashTask", core::Automation::Event::willSleep);
    EXPECT_EQ(notices, std::vector<std::string>{
                           "Automation reacts only to the simulated Mac's events (quorvane sim "
                           "post): QUORVANE_SYSTEM_EVENTS is \"simulated\"."});
    ::unsetenv("QUORVANE_SYSTEM_EVENTS");
}

// A registration check that cannot fail proves nothing: each kind of
// mistake, alone, must fail it, be logged and leave a working stand-in.
TEST(Wiring, eachRegistrationMistakeFailsTheCheckIsLoggedAndLeavesAStandIn) {
    platform::memory::MemoryBlobStore blobs;
    platform::memory::ManualMainQueue queue;
    platform::memory::MemoryUserDefaults defaults;
    core::NoScriptTweaks scripts;
    auto oneShot = [](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
        return std::make_shared<core::BuiltinTweak>(row.info);
    };
    struct Mistake {
        const char* id;
        std::function<void(core::TweakFactory&)> make;
    };
    const Mistake mistakes[] = {
        {"EmptyTrashTask",
         [&](core::TweakFactory& factory) {
             EXPECT_TRUE(factory.add("EmptyTrashTask", oneShot, {}));
             EXPECT_FALSE(factory.add("EmptyTrashTask", oneShot, {}));
         }},
        {"EmptyTrashTsk", [&](core::TweakFactory& factory) { factory.add("EmptyTrashTsk", oneShot, {}); }},
        // A toggle's row made into a one-shot tweak.
        {"AutoHideDockTask",
         [&](core::TweakFactory& factory) { factory.add("AutoHideDockTask", oneShot, {}); }},
        // A maker that cannot serve its row says so.
        {"ShowHiddenFilesTask",
         [&](core::TweakFactory& factory) {
             factory.add("ShowHiddenFilesTask", [](const core::CatalogueRow&) { return nullptr; }, {});
         }},
    };
    for (const auto& mistake : mistakes) {
        SCOPED_TRACE(mistake.id);
        platform::memory::MemoryLog log;
        core::Persistor persistor{&blobs, queue, log};
        core::Store store{defaults, persistor};
        core::TweakFactory factory;
        mistake.make(factory);
        core::Catalogue catalogue(factory, store, log, scripts);
        EXPECT_NONFATAL_FAILURE(expectSoundRegistration(catalogue.registration()), mistake.id);
        EXPECT_TRUE(log.contains(mistake.id));
    }

    platform::memory::MemoryLog log;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    core::TweakFactory factory;
    factory.add("AutoHideDockTask", oneShot, {});
    core::Catalogue catalogue(factory, store, log, scripts);
    auto dock = catalogue.find("AutoHideDockTask");
    ASSERT_TRUE(core::asMToggle(*dock));
    EXPECT_FALSE(dock->isAvailable());
    core::asToggle(*dock)->setOn(true);
    EXPECT_TRUE(store.mState->autoHideDock);
}

}  // namespace
}  // namespace quorvane::app

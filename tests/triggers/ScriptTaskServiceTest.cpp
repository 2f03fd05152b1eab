#include <gtest/gtest.h>

#include "core/RecordCoding.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "adapters/memory/MemoryAlerts.hpp"
#include "simmac/SimHotkeys.hpp"
#include "system/SystemFixture.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"
#include "triggers/scripts/ScriptTweak.hpp"

namespace quorvane::triggers {
namespace {

struct ScriptTaskServiceTest : system::testing::SystemFixture {
    platform::memory::MemoryAlerts alerts;
    ScriptExecution execution{shell, runner, queue, alerts, journal};
    std::optional<ScriptTaskService> service{std::in_place, persistor, defaults, execution};

    // Runs the script and waits for its result on the main queue.
    ScriptResult run(const ScriptTask& task) {
        std::optional<ScriptResult> result;
        execution.execute(task, [&](const ScriptResult& r) { result = r; });
        for (int i = 0; i < 500 && !result; ++i) {
            execution.waitUntilIdle();
            runner.waitUntilIdle();
            queue.drain();
        }
        return result.value_or(ScriptResult{});
    }
    ScriptTask commandLine(std::string content, bool alert = false) {
        return ScriptTask{.id = "T",
                          .icon = "💎",
                          .name = "Probe",
                          .description = "",
                          .mode = ScriptTask::Mode::commandLine,
                          .content = std::move(content),
                          .showsAlert = alert};
    }
    void TearDown() override {
        execution.waitUntilIdle();
        SystemFixture::TearDown();
    }
};

TEST_F(ScriptTaskServiceTest, samplesComeOnceAndNewScriptsAreNumbered) {
    service->seedIfNeeded();
    service->seedIfNeeded();
    ASSERT_EQ(service->scripts->size(), 3u);
    EXPECT_EQ(service->scripts.get()[0].name, "Get IP Address");
    EXPECT_EQ(service->scripts.get()[0].content, "ipconfig getifaddr en0");
    EXPECT_TRUE(service->scripts.get()[0].showsAlert);
    EXPECT_EQ(service->scripts.get()[1].mode, ScriptTask::Mode::appleScript);

    // A deleted sample stays deleted, also after a restart.
    service->deleteScript(service->scripts.get()[2].id);
    service->deleteScript(service->scripts.get()[1].id);
    auto third = service->add();
    EXPECT_EQ(third.name, "Script #2");
    EXPECT_EQ(third.content, "echo hello");
    EXPECT_EQ(service->add().name, "Script #3");
    persistor.saveAll();
    service.emplace(persistor, defaults, execution);
    service->seedIfNeeded();
    ASSERT_EQ(service->scripts->size(), 3u);
    EXPECT_EQ(service->scripts.get()[0].name, "Get IP Address");
    EXPECT_EQ(service->scripts.get()[2].name, "Script #3");
    EXPECT_EQ(service->scripts.get()[1].id, third.id);

    // As tweaks: after the built-ins, editable, in the script category.
    auto tweaks = service->scriptTweaks();
    ASSERT_EQ(tweaks.size(), 3u);
    EXPECT_TRUE(tweaks[0]->hasMoreConfigure());
    EXPECT_EQ(tweaks[0]->categories(), std::vector<core::Category>{core::Category::script});
}

TEST_F(ScriptTaskServiceTest, aLostSettingsFileDoesNotBringTheSamplesBack) {
    service->seedIfNeeded();
    service->deleteScript(service->scripts.get()[0].id);
    persistor.saveAll();
    service.reset();
    defaults.remove(std::string(ScriptTaskService::hasSeeded.key));
    service.emplace(persistor, defaults, execution);
    service->seedIfNeeded();
    EXPECT_EQ(service->scripts->size(), 2u);
    EXPECT_TRUE(ScriptTaskService::hasSeeded.read(defaults));
}

TEST_F(ScriptTaskServiceTest, storedRecordsKeepTheirKeys) {
    auto task = service->add();
    task.mode = ScriptTask::Mode::appleScript;
    service->update(task);
    const auto json = nlohmann::json::parse(core::encodeRecord(service->scripts.get()));
    EXPECT_EQ(json[0]["mode"], "appleScript");
    EXPECT_EQ(json[0]["categories"], nlohmann::json::array({"Script"}));
    for (const char* key : {"id", "icon", "name", "description", "content", "showsAlert"})
        EXPECT_TRUE(json[0].contains(key)) << key;
}

TEST_F(ScriptTaskServiceTest, commandLinesSucceedWithTheirOutputOrFailWithTheShellsMessage) {
    auto quiet = run(commandLine("exit 1"));
    ASSERT_TRUE(quiet.isSuccess());
    EXPECT_EQ(quiet.preview(), "");
    EXPECT_EQ(run(commandLine("printf 'a\\n\\n'")).preview(), "a\n");  // one line feed less

    auto missing = run(commandLine("ls /nonexistent", true));
    ASSERT_TRUE(missing.isFailure());
    EXPECT_NE(missing.preview().find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(missing.preview().starts_with("⚠️ "));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].style, platform::Alert::Style::warning);
    EXPECT_EQ(alerts.shown[0].message, "Probe");

    run(commandLine("echo done", true));
    EXPECT_EQ(alerts.shown.back().style, platform::Alert::Style::informational);
    EXPECT_EQ(alerts.shown.back().informativeText, "done");
}

// A script that waits (a server, "tail -f") must not hold back the next:
// the first here waits up to 5 s for a file that only the second makes.
TEST_F(ScriptTaskServiceTest, aWaitingScriptHoldsBackNoOther) {
    const auto flag = temporary.path() / "flag";
    std::optional<ScriptResult> waiter;
    std::optional<ScriptResult> maker;
    execution.execute(commandLine("for i in $(seq 500); do [ -e '" + flag.string() +
                                  "' ] && echo seen && exit 0; sleep 0.01; done; exit 1"),
                      [&](const ScriptResult& result) { waiter = result; });
    execution.execute(commandLine("touch '" + flag.string() + "'"),
                      [&](const ScriptResult& result) { maker = result; });
    execution.waitUntilIdle();
    queue.drain();
    ASSERT_TRUE(waiter && maker);
    EXPECT_TRUE(maker->isSuccess());
    EXPECT_EQ(waiter->preview(), "seen");
}

TEST_F(ScriptTaskServiceTest, theIpAddressSampleAnswersOnTheSimulatedMac) {
    service->seedIfNeeded();
    EXPECT_EQ(run(service->scripts.get()[0]).preview(), "192.0.2.10");
    // No address: the tool exits 1 and says nothing, which the shell runner
    // takes as an empty answer.
    EXPECT_EQ(run(commandLine("ipconfig getifaddr en7")).preview(), "");
    EXPECT_TRUE(run(commandLine("ipconfig getifaddr")).isFailure());
}

TEST_F(ScriptTaskServiceTest, aFailingAppleScriptShowsTheEnginesMessage) {
    auto task = commandLine("tell application \"Finder\"\n    empty trash");
    task.mode = ScriptTask::Mode::appleScript;
    auto result = run(task);
    ASSERT_TRUE(result.isFailure());
    EXPECT_EQ(result.preview(), "⚠️ Expected end of line but found end of script.");
}

TEST_F(ScriptTaskServiceTest, deletingAScriptClearsItsShortcut) {
    platform::sim::SimHotkeys hotkeys(defaults, log);
    service->setHotkeys(&hotkeys);
    auto task = service->add();
    ASSERT_TRUE(hotkeys.setCombination(task.id, {"Ctrl+Alt+S"}));
    int changes = 0;
    auto watch = service->changed.subscribe([&] { ++changes; });
    service->deleteScript(task.id);
    EXPECT_FALSE(hotkeys.combination(task.id));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(service->scriptTweaks().empty());
}

}  // namespace
}  // namespace quorvane::triggers

#pragma once

#include <gtest/gtest.h>

#include <future>
#include <map>
#include <mutex>

#include "core/catalogue/Catalogue.hpp"
#include "adapters/memory/ManualMainQueue.hpp"
#include "adapters/memory/MemoryBlobStore.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryRestoreLog.hpp"
#include "system/SystemStates.hpp"
#include "adapters/memory/MemoryUserDefaults.hpp"
#include "adapters/posix/PosixProcessLauncher.hpp"
#include "adapters/posix/PosixShellRunner.hpp"
#include "simmac/SimDesktop.hpp"
#include "platform/SystemEventCenter.hpp"
#include "simmac/SimBluetooth.hpp"
#include "simmac/SimBrowsers.hpp"
#include "simmac/SimColorSampler.hpp"
#include "simmac/SimPrivilegedRunner.hpp"
#include "simmac/SimScripting.hpp"
#include "simmac/SimWindowServer.hpp"
#include "simmac/SimSoundVolume.hpp"
#include "support/TemporaryDirectory.hpp"
#include "system/SystemTweaks.hpp"

namespace quorvane::system::testing {

// A shell that runs nothing: it keeps every command and answers from a table
// (an output, or a failure with standard error's text).
class RecordingShell final : public platform::ShellRunner {
  public:
    platform::Result<std::string> run(const std::string& commandLine) override {
        std::lock_guard lock(mutex_);
        commands_.push_back(commandLine);
        if (auto answer = answers.find(commandLine); answer != answers.end())
            return answer->second;
        return std::string();
    }
    std::vector<std::string> commands() {
        std::lock_guard lock(mutex_);
        return std::exchange(commands_, {});
    }
    void terminateRunning() override {}
    std::map<std::string, platform::Result<std::string>> answers;

  private:
    std::mutex mutex_;
    std::vector<std::string> commands_;
};

// Forwards to the shell the test chose.
class SwitchableShell final : public platform::ShellRunner {
  public:
    explicit SwitchableShell(platform::ShellRunner& initial) : target(&initial) {}
    platform::Result<std::string> run(const std::string& commandLine) override {
        return target->run(commandLine);
    }
    void terminateRunning() override { target->terminateRunning(); }
    platform::ShellRunner* target;
};

// The system tweaks on the simulated Mac: real shell commands with the
// simulated Mac's tools and home, the catalogue, and the journal.
class SystemFixture : public ::testing::Test {
  public:
    quorvane::testing::TemporaryDirectory temporary;
    platform::sim::SimHome home{temporary.path() / "sim", QUORVANE_DEFAULTS_TOOL,
                                QUORVANE_SIM_TOOLS};
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog log;
    platform::memory::ManualMainQueue queue;
    platform::posix::PosixShellRunner realShell{preparedEnvironment()};
    RecordingShell recordingShell;
    SwitchableShell shell{realShell};
    platform::sim::SimSoundVolume volume{temporary.path() / "sim", &journal};
    platform::sim::SimScripting scripting{realShell, home, journal, volume};
    platform::sim::SimPermissionAsker permissions{journal};
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimWorkspace workspace;
    ScriptRunner runner{scripting, permissions, queue, journal, log, scriptsFolder()};
    core::SerialExecutor commands{"Commands"};
    platform::SystemEventCenter events{journal};
    core::SerialExecutor audio{"Audio"};  // waits on the runner: goes before it
    platform::sim::SimBluetooth bluetooth{temporary.path() / "sim", &journal};
    core::SerialExecutor bluetoothHelper{"Bluetooth"};
    platform::sim::SimBrowsers browsers{temporary.path() / "sim", &journal};
    core::SerialExecutor browsersHelper{"Browsers"};
    core::SerialExecutor powerHelper{"Power"};
    platform::sim::SimPrivilegedRunner privileged{home, journal};
    platform::posix::PosixProcessLauncher launcher{queue, home.commandEnvironment()};
    core::StopList stops;
    platform::sim::SimColorSampler colorSampler{home, journal, queue};
    platform::sim::SimPasteboard desktopPasteboard;
    platform::sim::SimWindowServer desktop{4242, journal, desktopPasteboard};
    std::vector<core::Category> refreshedCategories;
    platform::memory::MemoryBlobStore blobs;
    platform::memory::MemoryUserDefaults defaults;
    core::Persistor persistor{&blobs, queue, log};
    core::Store store{defaults, persistor};
    // The system switches' changes, kept to be put back.
    platform::memory::MemoryRestoreLog restoreLog;
    core::ChangeRecorder recorder{&restoreLog, log};
    core::StateTable states{"system"};
    SystemServices services{
        .store = store,
        .defaults = defaults,
        .scripts = runner,
        .shell = shell,
        .commands = commands,
        .pasteboard = pasteboard,
        .workspace = workspace,
        .journal = journal,
        .log = log,
        .mainQueue = queue,
        .events = events,
        .persistor = persistor,
        .privileged = privileged,
        .launcher = launcher,
        .stops = stops,
        .bundleIdentifier = "com.tarnvell.Quorvane",
        .homeDirectory = home.homeDirectory().string(),
        .refreshAll = [this](core::Category c) { refreshedCategories.push_back(c); },
        .toolFolder = home.binDirectory(),
        .restoreLog = nullptr,
        .switches = {&recorder, &states}};
    core::NoScriptTweaks scripts;
    core::TweakFactory factory;
    std::unique_ptr<core::Catalogue> catalogue;

    // Builds the catalogue; with `recording`, commands go to the recording shell.
    void build(bool recording = false) {
        if (recording)
            shell.target = &recordingShell;
        addSystemStates(states, services, bluetooth, browsers);
        addSystemTweaks(factory, services,
                        {.audio = audio,
                         .bluetooth = bluetooth,
                         .bluetoothHelper = bluetoothHelper,
                         .browsers = browsers,
                         .browsersHelper = browsersHelper,
                         .powerHelper = powerHelper,
                         .colorSampler = colorSampler,
                         .applications = desktop});
        catalogue = std::make_unique<core::Catalogue>(factory, store, log, scripts);
    }

    std::shared_ptr<core::Tweak> tweak(const std::string& id) {
        auto found = catalogue->find(id);
        EXPECT_TRUE(found && found->isAvailable()) << id;
        return found;
    }

    // Waits until the executors are idle and the main queue has run what
    // they posted.
    void settle() {
        for (int round = 0; round < 3; ++round) {
            for (core::SerialExecutor* executor :
                 {&audio, &bluetoothHelper, &browsersHelper, &powerHelper, &commands}) {
                std::promise<void> done;
                executor->submit([&] { done.set_value(); });
                done.get_future().get();
            }
            runner.runAppleScript("", "settle").get();
            queue.drain();
        }
    }

    // Tweaks' background jobs refer to the catalogue: let them finish first.
    void TearDown() override { settle(); }

    std::vector<std::string> journalLines() {
        std::vector<std::string> lines;
        for (auto& line : journal.lines())
            if (!line.starts_with("settle "))
                lines.push_back(line);
        return lines;
    }

  private:
    // The scripts the program ships, in the source tree.
    static std::filesystem::path scriptsFolder() {
        return (std::filesystem::path(__FILE__).parent_path() / "../../resources/scripts")
            .lexically_normal();
    }

    std::map<std::string, std::string> preparedEnvironment() {
        EXPECT_TRUE(home.prepare());
        return home.commandEnvironment();
    }
};

}  // namespace quorvane::system::testing

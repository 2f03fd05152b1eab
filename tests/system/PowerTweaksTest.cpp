#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/CanToggle.hpp"
#include "simmac/SimPower.hpp"
#include "system/SystemFixture.hpp"
#include "system/power/EnergySaverTask.hpp"
#include "system/power/KeepMacAwakeTask.hpp"
#include "system/power/PowerSettings.hpp"
#include "system/power/ScheduleShutdownTask.hpp"
#include "system/power/SessionAwake.hpp"

namespace quorvane::system {
namespace {

// Local time of day for a stored date under a time zone.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) {
        if (const char* was = std::getenv("TZ"))
            saved_ = was;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (saved_.empty())
            ::unsetenv("TZ");
        else
            ::setenv("TZ", saved_.c_str(), 1);
        ::tzset();
    }

  private:
    std::string saved_;
};

ScheduleItem item(EnergyAction action, std::vector<DayOfWeek> days, int hour, int minute,
                  bool enabled = true) {
    return {.id = "7C1A4A8E-3B0D-4C43-9E8A-2F0A51C1D001",
            .enabled = enabled,
            .action = action,
            .days = std::move(days),
            .time = core::StoredDate::todayAt(hour, minute)};
}

using D = DayOfWeek;

TEST(PowerCommands, buildTheToolsLinesAsTheMacReadsThem) {
    EXPECT_EQ(energyScheduleCommand({item(EnergyAction::wakeOrPowerOn, {D::friday, D::monday}, 7, 30)}),
              "sudo pmset repeat wakeorpoweron MF 07:30:00");
    EXPECT_EQ(energyScheduleCommand(
                  {item(EnergyAction::wakeOrPowerOn,
                        {D::monday, D::tuesday, D::wednesday, D::thursday, D::friday}, 8, 0),
                   item(EnergyAction::sleep, {D::sunday}, 1, 0, false),
                   item(EnergyAction::shutdown,
                        {D::sunday, D::saturday, D::friday, D::thursday, D::wednesday,
                         D::tuesday, D::monday},
                        23, 0)}),
              "sudo pmset repeat wakeorpoweron MTWRF 08:00:00 shutdown MTWRFSU 23:00:00");
    EXPECT_EQ(energyScheduleCommand({item(EnergyAction::wake, {D::monday}, 9, 0, false)}),
              "sudo pmset repeat ");

    EXPECT_EQ(daysLabel({D::sunday, D::saturday}), "Weekend");
    EXPECT_EQ(daysLabel({D::friday, D::thursday, D::wednesday, D::tuesday, D::monday}), "Weekdays");
    EXPECT_EQ(daysLabel({D::monday, D::tuesday, D::wednesday, D::thursday, D::friday, D::saturday,
                         D::sunday}),
              "Every Day");
    EXPECT_EQ(daysLabel({D::sunday, D::monday, D::saturday}), "Monday, Saturday, Sunday");

    EXPECT_EQ(shutdownArguments(ShutdownAction::restart, ShutdownPeriod::hour, 2),
              (std::vector<std::string>{"-r", "+120"}));
    EXPECT_EQ(shutdownArguments(ShutdownAction::sleep, ShutdownPeriod::minute, 15),
              (std::vector<std::string>{"-s", "+15"}));
    EXPECT_EQ(keepAwakeCommand("/usr/bin/caffeinate", awakeSeconds(AwakePeriod::forever, 7)),
              "/usr/bin/caffeinate -d -i -t 999999");
    EXPECT_EQ(keepAwakeCommand("/tmp/a b/caffeinate", awakeSeconds(AwakePeriod::day, 9999)),
              "'/tmp/a b/caffeinate' -d -i -t 863913600");

    EXPECT_FALSE(lowPowerFrom(" powermode            0"));
    EXPECT_TRUE(lowPowerFrom(" powermode            1"));
    EXPECT_FALSE(lowPowerFrom(""));
}

TEST(PowerCommands, theTimeOfDayIsLocalWhereverTheDateWasMade) {
    // 2026-03-02 07:30:00 UTC.
    const auto date = core::StoredDate::fromUnixSeconds(1772436600);
    {
        TimeZone utc("UTC");
        EXPECT_EQ(date.timeOfDay(), "07:30:00");
        EXPECT_EQ(core::StoredDate::todayAt(8, 0).timeOfDay(), "08:00:00");
    }
    {
        TimeZone tokyo("Asia/Tokyo");
        EXPECT_EQ(date.timeOfDay(), "16:30:00");
        EXPECT_EQ(date.withTimeOfDay(23, 5).timeOfDay(), "23:05:00");
        EXPECT_EQ(core::StoredDate::todayAt(8, 0).timeOfDay(), "08:00:00");
    }
}

TEST(PowerCommands, thePowerToolTakesOneWakingAndOneSleepingEvent) {
    using Args = std::vector<std::string>;
    auto parse = [](Args arguments) { return platform::sim::parseRepeatEvents(arguments); };
    EXPECT_TRUE(parse({"wakeorpoweron", "MTWRF", "08:00:00", "shutdown", "MTWRFSU", "23:00:00"}));
    EXPECT_TRUE(parse({"cancel"}) && parse({"cancel"}).value().empty());
    EXPECT_FALSE(parse({}));
    EXPECT_FALSE(parse({"wake", "M", "08:00:00", "sleep", "S", "22:00:00", "shutdown", "U", "23:00:00"}));
    EXPECT_FALSE(parse({"wake", "M", "08:00:00", "poweron", "T", "09:00:00"}));
    EXPECT_FALSE(parse({"nap", "M", "08:00:00"}));
    EXPECT_FALSE(parse({"wake", "MX", "08:00:00"}));
    EXPECT_FALSE(parse({"wake", "MM", "08:00:00"}));
    EXPECT_FALSE(parse({"wake", "M", "24:00:00"}));
    EXPECT_FALSE(parse({"wake", "M", "8:00"}));
}

// The four power toggles on the simulated Mac, with its stand-in tools.
struct PowerTweaksTest : testing::SystemFixture {
    platform::sim::SimPower power{temporary.path() / "sim"};

    void SetUp() override { build(); }
    void TearDown() override {
        stops.stopAll();
        // A pending shutdown outlives its tweak, as on a Mac: not a test's.
        for (const auto& pending : power.shutdowns())
            ::kill(pending.pid, SIGTERM);
        settle();
    }

    core::CanToggle& toggle(const std::string& id) {
        return dynamic_cast<core::CanToggle&>(*tweak(id));
    }
    void switchTo(const std::string& id, bool on) {
        toggle(id).setOn(on);
        (void)tweak(id)->run();
        settle();
    }
    // Runs the main queue, and its clock, until `done` holds, for up to
    // five seconds.
    template <class Done>
    bool waitFor(Done done) {
        for (int i = 0; i < 250 && !done(); ++i) {
            settle();
            queue.advance(std::chrono::milliseconds(50));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return done();
    }
};

TEST_F(PowerTweaksTest, keepAwakeHoldsOneAssertionAndOnlyItsOwnEndSwitchesItOff) {
    switchTo("KeepMacAwakeTask", true);
    ASSERT_TRUE(waitFor([&] { return power.assertions().size() == 1; }));
    const int first = power.assertions()[0].pid;
    EXPECT_EQ(power.assertions()[0].flags, "di");

    // On again: the first ends, its late exit leaves the switch on.
    switchTo("KeepMacAwakeTask", true);
    ASSERT_TRUE(waitFor([&] {
        auto held = power.assertions();
        return held.size() == 1 && held[0].pid != first;
    }));
    ASSERT_TRUE(waitFor([&] { return ::kill(first, 0) != 0 || !power.runsStandIn(first, "caffeinate"); }));
    for (int i = 0; i < 5; ++i)
        settle();
    EXPECT_TRUE(toggle("KeepMacAwakeTask").isOn());

    // Ended from outside (its time, killall): the switch follows.
    ::kill(power.assertions()[0].pid, SIGTERM);
    EXPECT_TRUE(waitFor([&] { return !toggle("KeepMacAwakeTask").isOn(); }));

    // Off ends it, shell and tool alike.
    switchTo("KeepMacAwakeTask", true);
    ASSERT_TRUE(waitFor([&] { return power.assertions().size() == 1; }));
    switchTo("KeepMacAwakeTask", false);
    EXPECT_TRUE(waitFor([&] { return power.assertions().empty(); }));

    // And so does the program's end.
    switchTo("KeepMacAwakeTask", true);
    ASSERT_TRUE(waitFor([&] { return power.assertions().size() == 1; }));
    stops.stopAll();
    EXPECT_TRUE(waitFor([&] { return power.assertions().empty(); }));
    EXPECT_TRUE(log.contains("keeping it awake ends with Quorvane"));
}

// A holder standing in for the session's services: refuses with `refusal`
// or counts the holds it has given and not had back.
struct FakeHolder final : platform::AwakeHolder {
    std::string refusal;
    int held = 0;
    struct Given final : Hold {
        explicit Given(int& count) : count_(count) { ++count_; }
        ~Given() override { --count_; }
        int& count_;
    };
    platform::Result<std::unique_ptr<Hold>> hold(const std::string&) override {
        if (!refusal.empty())
            return platform::Error{refusal};
        return std::unique_ptr<Hold>(std::make_unique<Given>(held));
    }
};

TEST_F(PowerTweaksTest, inADesktopSessionTheSessionsOwnHoldsKeepItAwakeForTheChosenTime) {
    FakeHolder service, server, logind;
    service.refusal = "no screen saver service runs";
    logind.refusal = "logind does not run";
    SessionAwake session({{"the screen saver service", [&] { return &service; }},
                          {"the X server", [&] { return &server; }}},
                         {"logind", [&] { return &logind; }});
    services.sessionAwake = &session;
    const auto journaled = [this](std::string_view what) {
        for (const auto& line : journalLines())
            if (line.find(what) != std::string::npos)
                return true;
        return false;
    };
    defaults.set("KeepMacAwakeTask.Manager.period", std::string("minute"));
    defaults.set("KeepMacAwakeTask.Manager.periodVlaue", std::int64_t{2});

    switchTo("KeepMacAwakeTask", true);
    EXPECT_TRUE(toggle("KeepMacAwakeTask").isOn());
    EXPECT_EQ(server.held, 1);
    EXPECT_TRUE(power.assertions().empty()) << "no caffeinate in a desktop session";
    EXPECT_TRUE(journaled("held off the screen saver by the X server for 120 s"));
    EXPECT_TRUE(log.contains("idle sleep is not blocked: logind does not run"));

    // On again starts afresh: never two holds.
    switchTo("KeepMacAwakeTask", true);
    EXPECT_EQ(server.held, 1);
    // The time runs out: let go, and the switch follows.
    queue.advance(std::chrono::seconds(119));
    EXPECT_EQ(server.held, 1);
    queue.advance(std::chrono::seconds(1));
    EXPECT_EQ(server.held, 0);
    EXPECT_FALSE(toggle("KeepMacAwakeTask").isOn());

    // Forever holds until switched off, sleep blocked where logind runs.
    logind.refusal.clear();
    defaults.set("KeepMacAwakeTask.Manager.period", std::string("forever"));
    switchTo("KeepMacAwakeTask", true);
    queue.advance(std::chrono::hours(24 * 30));
    EXPECT_EQ(server.held, 1);
    EXPECT_EQ(logind.held, 1);
    EXPECT_TRUE(journaled("by the X server; idle sleep by logind until switched off"));
    switchTo("KeepMacAwakeTask", false);
    EXPECT_EQ(server.held + logind.held, 0);

    // Nothing to hold the screen saver off with: refused, never "on".
    server.refusal = "the X server has no screen-saver extension";
    auto& awake = *tweak("KeepMacAwakeTask");
    toggle("KeepMacAwakeTask").setOn(true);
    const auto outcome = awake.run();
    EXPECT_FALSE(outcome.isDone());
    EXPECT_EQ(outcome.reason(), "nothing here can hold the screen saver off: no screen saver service "
                                "runs; the X server has no screen-saver extension");
    EXPECT_FALSE(toggle("KeepMacAwakeTask").isOn());
    EXPECT_EQ(logind.held, 0) << "no sleep block left behind a refusal";
}

TEST_F(PowerTweaksTest, amountsOutsideTheRangeRunNothing) {
    defaults.set("KeepMacAwakeTask.Manager.period", std::string("day"));
    defaults.set("KeepMacAwakeTask.Manager.periodVlaue", std::int64_t{10000});
    switchTo("KeepMacAwakeTask", true);
    EXPECT_FALSE(toggle("KeepMacAwakeTask").isOn());
    EXPECT_TRUE(log.contains("KeepMacAwakeTask.Manager.periodVlaue is 10000, outside 1-9999"));

    defaults.set("ScheduleShutdownTask.Manager.periodValue", std::int64_t{0});
    switchTo("ScheduleShutdownTask", true);
    EXPECT_FALSE(toggle("ScheduleShutdownTask").isOn());
    EXPECT_TRUE(power.shutdowns().empty());
}

TEST_F(PowerTweaksTest, aNewShutdownReplacesThePendingOneAndItsEndSwitchesOff) {
    defaults.set("ScheduleShutdownTask.Manager.action", std::string("Restart"));
    defaults.set("ScheduleShutdownTask.Manager.period", std::string("Hour"));
    defaults.set("ScheduleShutdownTask.Manager.periodValue", std::int64_t{2});
    switchTo("ScheduleShutdownTask", true);
    ASSERT_TRUE(waitFor([&] { return power.shutdowns().size() == 1; }));
    EXPECT_EQ(power.shutdowns()[0].action, "restart");
    const int first = power.shutdowns()[0].pid;
    bool journaled = false;
    for (const auto& line : journal.lines())
        journaled |= line.find("command as administrator") != std::string::npos &&
                     line.ends_with("/bin/shutdown -r +120");
    EXPECT_TRUE(journaled);

    switchTo("ScheduleShutdownTask", true);
    ASSERT_TRUE(waitFor([&] {
        auto pending = power.shutdowns();
        return pending.size() == 1 && pending[0].pid != first;
    }));
    ASSERT_TRUE(waitFor([&] { return !power.runsStandIn(first, "shutdown"); }));
    for (int i = 0; i < 5; ++i) {
        settle();
        queue.advance(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(toggle("ScheduleShutdownTask").isOn());

    // Ending the pending one needs the password: refused, nothing new starts.
    const int second = power.shutdowns()[0].pid;
    ASSERT_TRUE(home.setAdminPromptApproves(false));
    switchTo("ScheduleShutdownTask", true);
    EXPECT_TRUE(waitFor([&] { return log.contains("could not be ended"); }));
    ASSERT_EQ(power.shutdowns().size(), 1u);
    EXPECT_EQ(power.shutdowns()[0].pid, second);
    EXPECT_TRUE(toggle("ScheduleShutdownTask").isOn());

    // Off types the cancel for the user; when it runs, the switch is off.
    ASSERT_TRUE(home.setAdminPromptApproves(true));
    switchTo("ScheduleShutdownTask", false);
    toggle("ScheduleShutdownTask").setOn(true);
    ::kill(second, SIGTERM);
    EXPECT_TRUE(waitFor([&] { return !toggle("ScheduleShutdownTask").isOn(); }));
    EXPECT_TRUE(power.shutdowns().empty());

    // A cancelled prompt schedules nothing.
    ASSERT_TRUE(home.setAdminPromptApproves(false));
    switchTo("ScheduleShutdownTask", true);
    EXPECT_TRUE(waitFor([&] { return !toggle("ScheduleShutdownTask").isOn(); }));
    EXPECT_TRUE(power.shutdowns().empty());
}

TEST_F(PowerTweaksTest, twoShutdownsAskedInOneBreathLeaveOnePending) {
    auto shutdown = tweak("ScheduleShutdownTask");
    toggle("ScheduleShutdownTask").setOn(true);
    (void)shutdown->run();
    (void)shutdown->run();  // while the first still waits for the password
    ASSERT_TRUE(waitFor([&] {
        int started = 0;
        for (const auto& line : journal.lines())
            started += line.find("command as administrator") != std::string::npos &&
                       line.ends_with("/bin/shutdown -h +15");
        return started == 2 && power.shutdowns().size() == 1;
    }));
    // The first was ended by the second, not left to chance.
    int ended = 0;
    for (const auto& line : journal.lines())
        ended += line.ends_with("ScheduleShutdownTask command as administrator killall shutdown");
    EXPECT_EQ(ended, 1);
    for (int i = 0; i < 5; ++i)
        settle();
    EXPECT_EQ(power.shutdowns().size(), 1u);
    EXPECT_TRUE(toggle("ScheduleShutdownTask").isOn());
}

// One left pending by an earlier run (a command line's, which has ended),
// which this one never held, is replaced all the same.
TEST_F(PowerTweaksTest, aShutdownLeftByAnEarlierRunIsReplacedToo) {
    auto earlier = privileged.execute(services.tool("/sbin/shutdown"), {"-r", "+30"}, "/");
    ASSERT_EQ(earlier.status, 0);
    ASSERT_TRUE(waitFor([&] { return power.shutdowns().size() == 1; }));

    switchTo("ScheduleShutdownTask", true);
    ASSERT_TRUE(waitFor([&] {
        auto pending = power.shutdowns();
        return pending.size() == 1 && pending[0].pid != earlier.processIdentifier;
    }));
    EXPECT_EQ(power.shutdowns()[0].action, "shutdown");
    int ended = 0;
    for (const auto& line : journal.lines())
        ended += line.ends_with("ScheduleShutdownTask command as administrator killall shutdown");
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(toggle("ScheduleShutdownTask").isOn());
    int status = 0;
    ASSERT_EQ(::waitpid(earlier.processIdentifier, &status, 0), earlier.processIdentifier);
    EXPECT_TRUE(WIFSIGNALED(status));
}

TEST_F(PowerTweaksTest, theEnergySwitchShowsWhetherTheScheduleIsInstalled) {
    // Nothing to install: off, nothing run.
    switchTo("EnergySaverTask", true);
    EXPECT_FALSE(toggle("EnergySaverTask").isOn());

    auto& saver = dynamic_cast<EnergySaverTask&>(*tweak("EnergySaverTask"));
    saver.addItem();
    const auto added = saver.items().get().at(0);
    EXPECT_EQ(added.action, EnergyAction::wakeOrPowerOn);
    EXPECT_EQ(dayCodes(added.days), "MTWRF");
    auto noDays = added;
    noDays.days.clear();
    saver.updateItem(noDays);  // an event keeps a day
    EXPECT_EQ(saver.items().get().at(0).days, added.days);

    switchTo("EnergySaverTask", true);
    EXPECT_TRUE(waitFor([&] { return power.repeatEvents().size() == 1; }));
    EXPECT_EQ(power.repeatEvents()[0],
              (platform::sim::RepeatEvent{"wakeorpoweron", "MTWRF", added.time.timeOfDay()}));
    // Kept as `pmset repeat` takes it back: none before, the event after.
    ASSERT_TRUE(waitFor([&] { return restoreLog.entries().size() == 1; }));
    const auto kept = restoreLog.entries()[0];
    EXPECT_EQ(kept.target, "energy schedule");
    EXPECT_EQ(kept.before, std::nullopt);
    EXPECT_EQ(kept.after, "wakeorpoweron MTWRF " + added.time.timeOfDay());
    ASSERT_TRUE(states.write(kept.target, kept.before));
    EXPECT_TRUE(power.repeatEvents().empty());
    ASSERT_TRUE(states.write(kept.target, kept.after));
    EXPECT_EQ(power.repeatEvents().size(), 1u);

    // A cancel that fails leaves the schedule, and the switch says so.
    ASSERT_TRUE(home.setAdminPromptApproves(false));
    switchTo("EnergySaverTask", false);
    EXPECT_TRUE(waitFor([&] { return toggle("EnergySaverTask").isOn(); }));
    EXPECT_EQ(power.repeatEvents().size(), 1u);

    ASSERT_TRUE(home.setAdminPromptApproves(true));
    switchTo("EnergySaverTask", false);
    EXPECT_TRUE(waitFor([&] { return power.repeatEvents().empty(); }));
    EXPECT_FALSE(toggle("EnergySaverTask").isOn());
    // The refused cancel kept nothing; the one that went through undid it.
    EXPECT_TRUE(waitFor([&] { return restoreLog.entries().empty(); }));
}

TEST_F(PowerTweaksTest, theStoredScheduleReadsAndWritesBackByteForByte) {
    const std::string key(EnergySaverTask::itemsKey);
    const std::string stored =
        R"([{"action":"wakeOrPowerOn","days":["monday","tuesday","wednesday","thursday","friday"],)"
        R"("enabled":true,"id":"0C7B1E7A-5F3D-4E0B-8C1D-2A9F6B4E3D21","time":786344400},)"
        R"({"action":"shutdown","days":["sunday","saturday"],"enabled":false,)"
        R"("id":"9A1F0B2C-3D4E-4F50-8A6B-7C8D9E0F1A2B","time":786399600.5}])";
    blobs.blobs[key] = stored;
    {
        EnergySaverTask saver(core::TweakInfo{}, &core::MState::energySaver, services);
        ASSERT_EQ(saver.items().get().size(), 2u);
        EXPECT_EQ(saver.items().get()[1].days, (std::vector<DayOfWeek>{D::sunday, D::saturday}));
        saver.items().modify([](auto&) {});
        persistor.saveAll();
        EXPECT_EQ(blobs.blobs[key], stored);
    }

    // An action this version does not know: the record is kept aside, not lost.
    blobs.blobs[key] = R"([{"action":"hibernate","days":["monday"],"enabled":true,"id":"A","time":0}])";
    EnergySaverTask saver(core::TweakInfo{}, &core::MState::energySaver, services);
    EXPECT_TRUE(saver.items().get().empty());
    int aside = 0;
    for (const auto& [name, bytes] : blobs.blobs)
        aside += name != key && bytes.find("hibernate") != std::string::npos;
    EXPECT_EQ(aside, 1);
}

TEST_F(PowerTweaksTest, lowPowerReadsBackWhatItWrote) {
    switchTo("LowPowerModeTask", true);
    EXPECT_TRUE(waitFor([&] { return power.powerMode() == 1; }));
    toggle("LowPowerModeTask").setOn(false);
    tweak("LowPowerModeTask")->refreshThen({});
    EXPECT_TRUE(waitFor([&] { return toggle("LowPowerModeTask").isOn(); }));
    switchTo("LowPowerModeTask", false);
    tweak("LowPowerModeTask")->refreshThen({});
    EXPECT_TRUE(waitFor([&] { return !toggle("LowPowerModeTask").isOn() && power.powerMode() == 0; }));
}

TEST_F(PowerTweaksTest, theStandInsNeverReachTheHost) {
    // killall ends only the simulated Mac's own tools: not a host program
    // of that name, even with a record (left by a crash) naming its pid.
    const auto hostTool = temporary.path() / "host" / "caffeinate";
    std::filesystem::create_directories(hostTool.parent_path());
    std::filesystem::create_symlink("/bin/sleep", hostTool);
    const pid_t host = ::fork();
    if (host == 0) {
        ::execl(hostTool.c_str(), "caffeinate", "30", nullptr);
        ::_exit(127);
    }
    ASSERT_TRUE(power.addAssertion({host, "di", 0}));
    const auto killall = (home.binDirectory() / "killall").string();
    EXPECT_NE(std::system((killall + " caffeinate 2>/dev/null").c_str()), 0);
    EXPECT_EQ(::kill(host, 0), 0);
    EXPECT_TRUE(power.assertions().empty());
    ::kill(host, SIGKILL);
    ::waitpid(host, nullptr, 0);

    // The host's shutdown is never run, with rights or without.
    auto refused = privileged.execute("/sbin/shutdown", {"-h", "+1"}, "/");
    EXPECT_EQ(refused.status, platform::PrivilegedRunner::toolFailed);
    EXPECT_EQ(services.tool("/sbin/shutdown"), (home.binDirectory() / "shutdown").string());
}

}  // namespace
}  // namespace quorvane::system

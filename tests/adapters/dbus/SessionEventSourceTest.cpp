#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <fstream>

#include "adapters/dbus/SessionEventSource.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "support/FakeSession.hpp"
#include "support/TemporaryDirectory.hpp"
#include "support/WaitFor.hpp"

// Runs under dbus-run-session: the session bus stands in for both buses,
// with FakeSession as logind and the screen saver.
namespace quorvane::platform::dbus {
namespace {

using testing::waitFor;

class SessionEventSourceTest : public ::testing::Test {
  protected:
    SessionEventSourceTest() {
        const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        bus = address.toStdString();
    }

    std::unique_ptr<SessionEventSource> source(std::chrono::milliseconds longestDelay =
                                                   SessionEventSource::defaultLongestDelay) {
        return std::make_unique<SessionEventSource>(
            BusAddresses{bus, bus}, [this](const std::string& name) { delivered.push_back(name); },
            [this] { return workIsIdle; }, log, longestDelay);
    }

    // Lets the bus carry whatever is in flight, for events that must not
    // arrive.
    static void settle() {
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 150)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    int argc = 0;
    QCoreApplication application{argc, nullptr};
    std::string bus;
    memory::MemoryLog log;
    std::vector<std::string> delivered;
    bool workIsIdle = false;
};

TEST_F(SessionEventSourceTest, sleepAndPowerOffWaitForTheirReactionsAndWakeTakesANewInhibitor) {
    ASSERT_FALSE(bus.empty()) << "run under dbus-run-session";
    testing::FakeSession logind(QString::fromStdString(bus));
    ASSERT_TRUE(logind.registered());
    auto events = source(std::chrono::milliseconds(400));
    ASSERT_TRUE(events->start());
    ASSERT_TRUE(waitFor([&] { return events->holdsInhibitor(); }));
    ASSERT_EQ(logind.inhibitCalls().size(), 1u);
    const QVariantList expected{QStringLiteral("shutdown:sleep"), QStringLiteral("Quorvane"),
                                QStringLiteral("Running automation"), QStringLiteral("delay")};
    EXPECT_EQ(logind.inhibitCalls()[0], expected);

    // Going to sleep: the reactions run at once; logind waits while their
    // background work runs, and no longer.
    logind.prepareForSleep(true);
    ASSERT_TRUE(waitFor([&] { return !delivered.empty(); }));
    EXPECT_EQ(delivered, std::vector<std::string>{"NSWorkspaceWillSleepNotification"});
    settle();
    EXPECT_FALSE(logind.released(0));
    workIsIdle = true;
    ASSERT_TRUE(waitFor([&] { return logind.released(0); }));
    EXPECT_FALSE(events->holdsInhibitor());

    // Awake again, ready for the next time.
    logind.prepareForSleep(false);
    ASSERT_TRUE(waitFor([&] { return events->holdsInhibitor(); }));
    EXPECT_EQ(delivered.back(), "NSWorkspaceDidWakeNotification");
    EXPECT_EQ(logind.inhibitCalls().size(), 2u);

    // Power off with work that never ends: the delay ends after the longest
    // wait all the same.
    workIsIdle = false;
    QElapsedTimer elapsed;
    elapsed.start();
    logind.prepareForShutdown(true);
    ASSERT_TRUE(waitFor([&] { return logind.released(1); }));
    EXPECT_GE(elapsed.elapsed(), 350);
    EXPECT_EQ(delivered.back(), "NSWorkspaceWillPowerOffNotification");
    EXPECT_EQ(delivered.size(), 3u);
}

TEST_F(SessionEventSourceTest, lockAndTheScreenSaverAreReportedOncePerChange) {
    testing::FakeSession logind(QString::fromStdString(bus));
    ASSERT_TRUE(logind.registered());
    auto events = source();
    ASSERT_TRUE(events->start());
    // The session's signals are subscribed once GetSessionByPID answers:
    // lock until the lock is seen. A locker that both signals and sets the
    // hint is one lock.
    ASSERT_TRUE(waitFor([&] {
        logind.lock();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return !delivered.empty();
    }));
    logind.lockedHint(true);
    logind.screenSaverActive(true);
    logind.screenSaverActive(true);
    logind.lockedHint(false);
    logind.unlock();
    logind.screenSaverActive(false);
    ASSERT_TRUE(waitFor([&] { return delivered.size() >= 4; }));
    settle();
    // Two buses (here two connections) keep their own order only.
    auto from = [this](std::string_view prefix) {
        std::vector<std::string> picked;
        std::copy_if(delivered.begin(), delivered.end(), std::back_inserter(picked),
                     [prefix](const std::string& name) { return name.starts_with(prefix); });
        return picked;
    };
    EXPECT_EQ(delivered.size(), 4u);
    EXPECT_EQ(from("com.apple.screenIs"),
              (std::vector<std::string>{"com.apple.screenIsLocked", "com.apple.screenIsUnlocked"}));
    EXPECT_EQ(from("com.apple.screensaver"),
              (std::vector<std::string>{"com.apple.screensaver.didstart",
                                        "com.apple.screensaver.didStop"}));
}

// Without a system bus, or logind on it, sleep and the lock go unheard; the
// session's screen saver is still reported.
TEST_F(SessionEventSourceTest, aBusThatCannotBeReachedOrHasNoLogindLeavesOnlyTheScreenSaver) {
    auto unreachable = std::make_unique<SessionEventSource>(
        BusAddresses{"unix:path=/nonexistent/quorvane-bus", "unix:path=/nonexistent/bus"},
        [this](const std::string& name) { delivered.push_back(name); }, [] { return true; }, log);
    auto refused = unreachable->start();
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("system bus"), std::string::npos);
    EXPECT_FALSE(unreachable->watchesScreenSaver());

    {
        testing::FakeSession screenSaver(QString::fromStdString(bus));
        SessionEventSource sessionOnly(
            BusAddresses{"unix:path=/nonexistent/quorvane-bus", bus},
            [this](const std::string& name) { delivered.push_back(name); }, [] { return true; }, log);
        ASSERT_FALSE(sessionOnly.start());
        EXPECT_TRUE(sessionOnly.watchesScreenSaver());
        ASSERT_TRUE(waitFor([&] {
            screenSaver.screenSaverActive(true);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return !delivered.empty();
        }));
        EXPECT_EQ(delivered.front(), "com.apple.screensaver.didstart");
    }
    // Told apart before D-Bus is started: the socket is missing, the test
    // bus's is there, and an address that cannot be looked at is tried.
    EXPECT_EQ(SessionEventSource::missingSystemBus({"unix:path=/nonexistent/quorvane-bus", ""}),
              "the system bus cannot be reached: there is no socket at /nonexistent/quorvane-bus");
    EXPECT_EQ(SessionEventSource::missingSystemBus({bus, ""}), std::nullopt);
    EXPECT_EQ(SessionEventSource::missingSystemBus({"unix:path=/dev/null", ""}), std::nullopt);
    EXPECT_EQ(SessionEventSource::missingSystemBus({"unix:abstract=quorvane-bus", ""}), std::nullopt);

    EXPECT_EQ(SessionEventSource::missingSessionBus({"", "unix:path=/nonexistent/quorvane-bus"}),
              "the session bus cannot be reached: there is no socket at /nonexistent/quorvane-bus");
    EXPECT_EQ(SessionEventSource::missingSessionBus({"", bus}), std::nullopt);

    // The bus answers, but nobody there is logind.
    auto lonely = source();
    auto missing = lonely->start();
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().message.find("logind"), std::string::npos);
    EXPECT_FALSE(lonely->holdsInhibitor());
}

// Without an address, D-Bus finds the session bus in XDG_RUNTIME_DIR or
// launches one for an X11 display: only with neither is it missing.
TEST_F(SessionEventSourceTest, aSessionBusWithoutAnAddressIsMissingOnlyWithoutRuntimeSocketOrDisplay) {
    const char* names[] = {"DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR", "DISPLAY"};
    std::vector<std::optional<QByteArray>> saved;
    for (const char* name : names)
        saved.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    testing::TemporaryDirectory runtime;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DISPLAY");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path().string()));

    EXPECT_EQ(SessionEventSource::missingSessionBus({}),
              "the session bus cannot be reached: DBUS_SESSION_BUS_ADDRESS is not set, there is "
              "no socket at " + runtime.path().string() + "/bus, and there is no X11 display");
    qputenv("DISPLAY", ":99");
    EXPECT_EQ(SessionEventSource::missingSessionBus({}), std::nullopt);
    qunsetenv("DISPLAY");
    std::ofstream(runtime.path() / "bus").put('\n');
    EXPECT_EQ(SessionEventSource::missingSessionBus({}), std::nullopt);

    for (std::size_t index = 0; index < saved.size(); ++index) {
        if (saved[index])
            qputenv(names[index], *saved[index]);
        else
            qunsetenv(names[index]);
    }
}

}  // namespace
}  // namespace quorvane::platform::dbus

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <string>

#include "adapters/dbus/LogindPower.hpp"
#include "adapters/dbus/ScreenSaverService.hpp"
#include "support/OffMainThread.hpp"

// Runs under dbus-run-session: the session bus stands in for the system
// bus too, with FakeIdle as both the screen saver and logind.
namespace quorvane {
namespace {

class FakeIdle final : public QDBusVirtualObject {
  public:
    explicit FakeIdle(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-idle"))) {
        registered_ = connection_.registerService(QStringLiteral("org.freedesktop.ScreenSaver")) &&
                      connection_.registerService(QStringLiteral("org.freedesktop.login1")) &&
                      connection_.registerVirtualObject(QStringLiteral("/org"), this,
                                                        QDBusConnection::SubPath);
    }
    ~FakeIdle() override {
        connection_.unregisterObject(QStringLiteral("/org"), QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-idle"));
        if (sleepBlock >= 0)
            ::close(sleepBlock);
    }

    bool registered() const { return registered_; }
    QStringList calls;
    int sleepBlock = -1;  // our end of logind's block: EOF once it is let go

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        QStringList words{message.member()};
        for (const auto& argument : message.arguments())
            words << argument.toString();
        calls << words.join(QLatin1Char(' '));
        if (message.member() == QStringLiteral("Inhibit") &&
            message.path() == QStringLiteral("/org/freedesktop/ScreenSaver")) {
            connection.send(message.createReply(QVariant::fromValue(7u)));
            return true;
        }
        if (message.member() == QStringLiteral("UnInhibit")) {
            connection.send(message.createReply());
            return true;
        }
        if (message.member() == QStringLiteral("Inhibit")) {
            int ends[2];
            if (::pipe(ends) != 0)
                return false;
            sleepBlock = ends[0];
            connection.send(message.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]))));
            ::close(ends[1]);
            return true;
        }
        return false;
    }

  private:
    QDBusConnection connection_;
    bool registered_ = false;
};

using quorvane::testing::offMainThread;

TEST(IdleInhibit, theSessionIsHeldAwakeUntilTheHoldsAreLetGo) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    const QString bus = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_FALSE(bus.isEmpty()) << "run under dbus-run-session";
    FakeIdle idle(bus);
    ASSERT_TRUE(idle.registered());

    // The services answer on this thread: the holds are taken and let go
    // on another, as the program's are against services of their own.
    platform::dbus::ScreenSaverService screenSaver(bus.toStdString());
    platform::dbus::LogindPower logind(bus.toStdString());
    {
        auto display = offMainThread([&] { return screenSaver.hold("Keep Mac Awake is on"); });
        ASSERT_TRUE(display) << display.error().message;
        auto sleep = offMainThread([&] { return logind.hold("Keep Mac Awake is on"); });
        ASSERT_TRUE(sleep) << sleep.error().message;
        ASSERT_EQ(idle.calls.size(), 2) << idle.calls.join(u'|').toStdString();
        EXPECT_EQ(idle.calls[0], QStringLiteral("Inhibit Quorvane Keep Mac Awake is on"));
        EXPECT_EQ(idle.calls[1], QStringLiteral("Inhibit idle:sleep Quorvane Keep Mac Awake is on block"));
        ASSERT_GE(idle.sleepBlock, 0);
        // Held: logind's end of the block sees no end of file yet.
        pollfd held{idle.sleepBlock, POLLIN, 0};
        EXPECT_EQ(::poll(&held, 1, 0), 0);
        // Our end of the block is closed on exec: nothing started from here
        // keeps the block on after the hold goes.
        struct stat block {};
        ASSERT_EQ(::fstat(idle.sleepBlock, &block), 0);
        int ours = 0;
        for (int descriptor = 3; descriptor < 1024; ++descriptor) {
            struct stat about {};
            if (descriptor == idle.sleepBlock || ::fstat(descriptor, &about) != 0 ||
                about.st_ino != block.st_ino || about.st_dev != block.st_dev)
                continue;
            ++ours;
            EXPECT_TRUE(::fcntl(descriptor, F_GETFD) & FD_CLOEXEC) << "descriptor " << descriptor;
        }
        // Ours, and for a moment perhaps the bus library's own copy of the
        // reply's descriptor: each closed on exec.
        EXPECT_GE(ours, 1);
        offMainThread([&] {
            display.value().reset();
            sleep.value().reset();
            return 0;
        });
    }
    EXPECT_TRUE(idle.calls.contains(QStringLiteral("UnInhibit 7")));
    char byte;
    EXPECT_EQ(::read(idle.sleepBlock, &byte, 1), 0) << "logind's block is still held";
}

TEST(IdleInhibit, aSessionWithoutTheServicesSaysWhy) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    const QString bus = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_FALSE(bus.isEmpty()) << "run under dbus-run-session";
    platform::dbus::ScreenSaverService screenSaver(bus.toStdString());
    auto display = offMainThread([&] { return screenSaver.hold("why"); });
    ASSERT_FALSE(display);
    EXPECT_NE(display.error().message.find("org.freedesktop.ScreenSaver"), std::string::npos);
    platform::dbus::LogindPower logind("unix:path=/nonexistent");
    auto sleep = logind.hold("why");
    ASSERT_FALSE(sleep);
    EXPECT_EQ(sleep.error().message, "the system bus cannot be reached");
}

}  // namespace
}  // namespace quorvane

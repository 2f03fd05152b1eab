#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <future>

#include "adapters/dbus/PowerProfilesDaemon.hpp"
#include "adapters/dbus/ScreenSaverService.hpp"

// Runs under dbus-run-session: the session bus stands in for the system
// bus too, with FakeProfiles as power-profiles-daemon and FakeScreenSaver
// as the session's screen saver.
namespace quorvane::platform::dbus {
namespace {

// The daemon's ActiveProfile, under its older name, as Debian 12 has it.
// It refuses a profile it does not have, as the daemon does.
class FakeProfiles final : public QDBusVirtualObject {
  public:
    explicit FakeProfiles(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-profiles"))) {
        registered_ = connection_.registerService(QStringLiteral("net.hadess.PowerProfiles")) &&
                      connection_.registerVirtualObject(QStringLiteral("/net/hadess/PowerProfiles"),
                                                        this);
    }
    ~FakeProfiles() override {
        connection_.unregisterObject(QStringLiteral("/net/hadess/PowerProfiles"));
        connection_.unregisterService(QStringLiteral("net.hadess.PowerProfiles"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-profiles"));
    }

    bool registered() const { return registered_; }
    QString active = QStringLiteral("performance");

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const auto arguments = message.arguments();
        if (arguments.size() < 2 || arguments[0].toString() != QStringLiteral("net.hadess.PowerProfiles") ||
            arguments[1].toString() != QStringLiteral("ActiveProfile"))
            return false;
        if (message.member() == QStringLiteral("Get")) {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(active))));
            return true;
        }
        if (message.member() == QStringLiteral("Set") && arguments.size() == 3) {
            const auto wanted = arguments[2].value<QDBusVariant>().variant().toString();
            if (!QStringList{"power-saver", "balanced", "performance"}.contains(wanted)) {
                connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                                         QStringLiteral("Invalid profile")));
                return true;
            }
            active = wanted;
            connection.send(message.createReply());
            return true;
        }
        return false;
    }

  private:
    QDBusConnection connection_;
    bool registered_ = false;
};

template <class Call>
auto offMainThread(Call call) {
    auto answer = std::async(std::launch::async, call);
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return answer.get();
}

TEST(PowerProfilesTest, readsAndSwitchesTheDaemonsProfileAndSaysWhenItIsMissing) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    const std::string bus = qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString();
    ASSERT_FALSE(bus.empty()) << "run under dbus-run-session";
    PowerProfilesDaemon daemon(bus);
    const auto missing = offMainThread([&] { return daemon.activeProfile(); });
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, "power-profiles-daemon does not run");

    FakeProfiles profiles(QString::fromStdString(bus));
    ASSERT_TRUE(profiles.registered());
    EXPECT_EQ(offMainThread([&] { return daemon.activeProfile(); }).value(), "performance");
    EXPECT_TRUE(offMainThread([&] { return daemon.setActiveProfile("power-saver"); }));
    EXPECT_EQ(profiles.active, QStringLiteral("power-saver"));
    const auto refused = offMainThread([&] { return daemon.setActiveProfile("turbo"); });
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("Invalid profile"), std::string::npos);
    EXPECT_EQ(offMainThread([&] { return daemon.activeProfile(); }).value(), "power-saver");
}

// A screen saver that starts when asked, or refuses to.
class FakeScreenSaver final : public QDBusVirtualObject {
  public:
    explicit FakeScreenSaver(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-saver"))) {
        registered_ =
            connection_.registerService(QStringLiteral("org.freedesktop.ScreenSaver")) &&
            connection_.registerVirtualObject(QStringLiteral("/org/freedesktop/ScreenSaver"), this);
    }
    ~FakeScreenSaver() override {
        connection_.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
        connection_.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-saver"));
    }

    bool registered() const { return registered_; }
    bool starts = true;
    int started = 0;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QStringLiteral("SetActive") || message.arguments().size() != 1)
            return false;
        if (starts && message.arguments()[0].toBool())
            ++started;
        connection.send(message.createReply(QVariant(starts)));
        return true;
    }

  private:
    QDBusConnection connection_;
    bool registered_ = false;
};

TEST(ScreenSaverServiceTest, startsTheSessionsScreenSaverAndSaysWhenItCannot) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    const std::string bus = qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString();
    ASSERT_FALSE(bus.empty()) << "run under dbus-run-session";
    ScreenSaverService service(bus);
    const auto none = offMainThread([&] { return service.activate(); });
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().message, "no screen saver runs in this session");

    FakeScreenSaver saver(QString::fromStdString(bus));
    ASSERT_TRUE(saver.registered());
    EXPECT_TRUE(offMainThread([&] { return service.activate(); }));
    EXPECT_EQ(saver.started, 1);
    saver.starts = false;
    const auto refused = offMainThread([&] { return service.activate(); });
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "the screen saver did not start");
}

}  // namespace
}  // namespace quorvane::platform::dbus

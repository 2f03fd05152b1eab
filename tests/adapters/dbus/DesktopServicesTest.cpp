#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMap>

#include "adapters/dbus/PowerProfilesDaemon.hpp"
#include "adapters/dbus/ScreenSaverService.hpp"
#include "adapters/dbus/LogindPower.hpp"
#include "adapters/dbus/UDisks2Disks.hpp"
#include "support/OffMainThread.hpp"

using UDisksInterfaces = QMap<QString, QVariantMap>;
using UDisksObjects = QMap<QDBusObjectPath, UDisksInterfaces>;
Q_DECLARE_METATYPE(UDisksInterfaces)
Q_DECLARE_METATYPE(UDisksObjects)

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

using quorvane::testing::offMainThread;

// The session bus of dbus-run-session, which stands in for the system bus.
struct DesktopServicesTest : ::testing::Test {
    int argc = 0;
    QCoreApplication application{argc, nullptr};
    std::string bus = qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString();
    void SetUp() override { ASSERT_FALSE(bus.empty()) << "run under dbus-run-session"; }
};

TEST_F(DesktopServicesTest, thePowerProfileIsReadAndSwitchedAndAMissingDaemonIsSaid) {
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

TEST_F(DesktopServicesTest, theSessionsScreenSaverStartsOrSaysWhyNot) {
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

// UDisks2 with an internal disk, a USB stick, a disc in a drive and an
// empty card reader. Unmount fails for a file system marked busy.
class FakeUDisks final : public QDBusVirtualObject {
  public:
    explicit FakeUDisks(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-udisks"))) {
        qDBusRegisterMetaType<QList<QByteArray>>();
        qDBusRegisterMetaType<UDisksInterfaces>();
        qDBusRegisterMetaType<UDisksObjects>();
        registered_ = connection_.registerService(QStringLiteral("org.freedesktop.UDisks2")) &&
                      connection_.registerVirtualObject(QStringLiteral("/org/freedesktop/UDisks2"),
                                                        this, QDBusConnection::SubPath);
        auto drive = [this](const QString& id, QVariantMap properties) {
            objects[QDBusObjectPath(drives + id)][QStringLiteral("org.freedesktop.UDisks2.Drive")] =
                properties;
        };
        auto mounted = [this](const QString& block, const QString& id, const QByteArray& at) {
            auto& interfaces = objects[QDBusObjectPath(blocks + block)];
            interfaces[QStringLiteral("org.freedesktop.UDisks2.Block")] = {
                {QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(drives + id))}};
            interfaces[QStringLiteral("org.freedesktop.UDisks2.Filesystem")] = {
                {QStringLiteral("MountPoints"),
                 QVariant::fromValue(at.isEmpty() ? QList<QByteArray>{}
                                                  : QList<QByteArray>{at + '\0'})}};
        };
        drive(QStringLiteral("Internal"), {{QStringLiteral("Removable"), false},
                                           {QStringLiteral("Model"), QStringLiteral("SSD")}});
        drive(QStringLiteral("Stick"), {{QStringLiteral("Removable"), true},
                                        {QStringLiteral("CanPowerOff"), true},
                                        {QStringLiteral("Vendor"), QStringLiteral("Kingston")},
                                        {QStringLiteral("Model"), QStringLiteral("DataTraveler")}});
        drive(QStringLiteral("Disc"), {{QStringLiteral("Removable"), true},
                                       {QStringLiteral("Ejectable"), true},
                                       {QStringLiteral("MediaAvailable"), true},
                                       {QStringLiteral("Model"), QStringLiteral("DVD-RW")}});
        drive(QStringLiteral("Reader"), {{QStringLiteral("Removable"), true},
                                         {QStringLiteral("MediaAvailable"), false},
                                         {QStringLiteral("Model"), QStringLiteral("Card Reader")}});
        mounted(QStringLiteral("sda1"), QStringLiteral("Internal"), "/");
        mounted(QStringLiteral("sdb1"), QStringLiteral("Stick"), "/media/stick");
        mounted(QStringLiteral("sdb2"), QStringLiteral("Stick"), "");
    }
    ~FakeUDisks() override {
        connection_.unregisterObject(QStringLiteral("/org/freedesktop/UDisks2"),
                                     QDBusConnection::UnregisterTree);
        connection_.unregisterService(QStringLiteral("org.freedesktop.UDisks2"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-udisks"));
    }

    bool registered() const { return registered_; }
    QStringList calls;   // "sdb1 Unmount", "Stick PowerOff"
    QString busy;        // a block whose Unmount fails

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == QStringLiteral("GetManagedObjects")) {
            connection.send(message.createReply(QVariant::fromValue(objects)));
            return true;
        }
        const QString object = message.path().section(QLatin1Char('/'), -1);
        if (message.member() == QStringLiteral("Unmount") && object == busy) {
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.UDisks2.Error.DeviceBusy"),
                QStringLiteral("target is busy")));
            return true;
        }
        calls << object + QLatin1Char(' ') + message.member();
        connection.send(message.createReply());
        return true;
    }

  private:
    const QString drives = QStringLiteral("/org/freedesktop/UDisks2/drives/");
    const QString blocks = QStringLiteral("/org/freedesktop/UDisks2/block_devices/");
    UDisksObjects objects;
    QDBusConnection connection_;
    bool registered_ = false;
};

// Only what a person plugs in goes: its mounted file systems first, then
// the drive, ejected or powered off; an internal disk and an empty reader
// are left alone. A busy file system keeps its disk, and says so.
TEST_F(DesktopServicesTest, ejectsWhatWasPluggedInAndNamesWhatRefused) {
    FakeUDisks udisks(QString::fromStdString(bus));
    ASSERT_TRUE(udisks.registered());
    UDisks2Disks disks(bus);
    const auto ejected = offMainThread([&] { return disks.ejectAll(); });
    ASSERT_TRUE(ejected) << ejected.error().message;
    EXPECT_EQ(ejected.value(), (std::vector<std::string>{"DVD-RW", "Kingston DataTraveler"}));
    EXPECT_EQ(udisks.calls,
              (QStringList{"Disc Eject", "sdb1 Unmount", "Stick PowerOff"}));

    udisks.calls.clear();
    udisks.busy = QStringLiteral("sdb1");
    const auto refused = offMainThread([&] { return disks.ejectAll(); });
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message,
              "not every disk could be ejected: Kingston DataTraveler: target is busy");
    EXPECT_EQ(udisks.calls, QStringList{"Disc Eject"});
}

// logind's manager: its shutdown schedule, and sleep, which polkit refuses
// when `refusesSleep`.
class FakeLogind final : public QDBusVirtualObject {
  public:
    explicit FakeLogind(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-logind"))) {
        registered_ = connection_.registerService(QStringLiteral("org.freedesktop.login1")) &&
                      connection_.registerVirtualObject(QStringLiteral("/org/freedesktop/login1"),
                                                        this);
    }
    ~FakeLogind() override {
        connection_.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
        connection_.unregisterService(QStringLiteral("org.freedesktop.login1"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind"));
    }

    bool registered() const { return registered_; }
    QString type;
    qulonglong usec = 0;
    int suspends = 0;
    bool refusesSleep = false;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const auto arguments = message.arguments();
        if (message.member() == QStringLiteral("ScheduleShutdown") && arguments.size() == 2) {
            type = arguments[0].toString();
            usec = arguments[1].toULongLong();
            connection.send(message.createReply());
        } else if (message.member() == QStringLiteral("CancelScheduledShutdown")) {
            const bool was = !type.isEmpty();
            type.clear();
            usec = 0;
            connection.send(message.createReply(QVariant(was)));
        } else if (message.member() == QStringLiteral("Get")) {
            QDBusArgument scheduled;
            scheduled.beginStructure();
            scheduled << type << usec;
            scheduled.endStructure();
            connection.send(message.createReply(
                QVariant::fromValue(QDBusVariant(QVariant::fromValue(scheduled)))));
        } else if (message.member() == QStringLiteral("Suspend")) {
            if (refusesSleep) {
                connection.send(message.createErrorReply(
                    QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"),
                    QStringLiteral("Interactive authentication required.")));
                return true;
            }
            ++suspends;
            connection.send(message.createReply());
        } else {
            return false;
        }
        return true;
    }

  private:
    QDBusConnection connection_;
    bool registered_ = false;
};

TEST_F(DesktopServicesTest, schedulesReadsAndCancelsAShutdownAndSaysWhySleepWasRefused) {
    FakeLogind logind(QString::fromStdString(bus));
    ASSERT_TRUE(logind.registered());
    LogindPower power(bus);
    EXPECT_EQ(offMainThread([&] { return power.scheduledShutdown(); }).value(), std::nullopt);

    const auto when = std::chrono::system_clock::time_point(std::chrono::seconds(2000000000));
    EXPECT_TRUE(offMainThread([&] { return power.scheduleShutdown("reboot", when); }));
    EXPECT_EQ(logind.type, QStringLiteral("reboot"));
    EXPECT_EQ(logind.usec, 2000000000000000ull);
    const auto scheduled = offMainThread([&] { return power.scheduledShutdown(); });
    ASSERT_TRUE(scheduled && scheduled.value());
    EXPECT_EQ(scheduled.value()->type, "reboot");
    EXPECT_TRUE(scheduled.value()->when == when);
    EXPECT_TRUE(offMainThread([&] { return power.cancelShutdown(); }).value());
    EXPECT_FALSE(offMainThread([&] { return power.cancelShutdown(); }).value());

    EXPECT_TRUE(offMainThread([&] { return power.suspend(); }));
    EXPECT_EQ(logind.suspends, 1);
    logind.refusesSleep = true;
    const auto refused = offMainThread([&] { return power.suspend(); });
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message,
              "logind refused to sleep: Interactive authentication required.");
}

}  // namespace
}  // namespace quorvane::platform::dbus

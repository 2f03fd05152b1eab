#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QMap>
#include <future>
#include <thread>

#include "adapters/dbus/BluezBluetooth.hpp"
#include "support/OffMainThread.hpp"

using BluezInterfaces = QMap<QString, QVariantMap>;
using BluezObjects = QMap<QDBusObjectPath, BluezInterfaces>;
Q_DECLARE_METATYPE(BluezInterfaces)
Q_DECLARE_METATYPE(BluezObjects)

// Runs under dbus-run-session: the session bus stands in for the system
// bus, with FakeBluez as BlueZ.
namespace quorvane::platform::dbus {
namespace {

using quorvane::testing::offMainThread;

const QString adapter1 = QStringLiteral("org.bluez.Adapter1");

// BlueZ's object tree: adapters by path, each with its Powered property.
class FakeBluez final : public QDBusVirtualObject {
  public:
    explicit FakeBluez(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-bluez"))) {
        qDBusRegisterMetaType<BluezInterfaces>();
        qDBusRegisterMetaType<BluezObjects>();
        registered_ = connection_.registerService(QStringLiteral("org.bluez")) &&
                      connection_.registerVirtualObject(QStringLiteral("/"), this,
                                                        QDBusConnection::SubPath);
    }
    ~FakeBluez() override {
        connection_.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-bluez"));
    }

    bool registered() const { return registered_; }
    QMap<QString, bool> adapters;  // path -> Powered
    QStringList setCalls;          // "path Powered=value"

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() == QStringLiteral("GetManagedObjects")) {
            BluezObjects objects;
            objects[QDBusObjectPath(QStringLiteral("/org/bluez"))]
                [QStringLiteral("org.bluez.AgentManager1")] = {};
            for (auto [path, powered] : adapters.asKeyValueRange())
                objects[QDBusObjectPath(path)][adapter1] = {{QStringLiteral("Powered"), powered}};
            connection.send(message.createReply(QVariant::fromValue(objects)));
            return true;
        }
        if (message.member() == QStringLiteral("Set") && message.arguments().size() == 3) {
            const bool value = message.arguments()[2].value<QDBusVariant>().variant().toBool();
            setCalls << message.path() + QStringLiteral(" Powered=") +
                            (value ? QStringLiteral("true") : QStringLiteral("false"));
            adapters[message.path()] = value;
            connection.send(message.createReply());
            return true;
        }
        return false;
    }

  private:
    QDBusConnection connection_;
    bool registered_ = false;
};

class BluezBluetoothTest : public ::testing::Test {
  protected:
    int argc = 0;
    QCoreApplication application{argc, nullptr};
    std::string bus = qgetenv("DBUS_SESSION_BUS_ADDRESS").toStdString();
};

TEST_F(BluezBluetoothTest, theFirstAdapterByPathIsTheController) {
    ASSERT_FALSE(bus.empty()) << "run under dbus-run-session";
    FakeBluez bluez(QString::fromStdString(bus));
    ASSERT_TRUE(bluez.registered());
    bluez.adapters = {{QStringLiteral("/org/bluez/hci1"), true},
                      {QStringLiteral("/org/bluez/hci0"), false}};
    BluezBluetooth bluetooth(bus);
    EXPECT_FALSE(offMainThread([&] { return bluetooth.isPowered(); }));
    EXPECT_TRUE(offMainThread([&] { return bool(bluetooth.setPowered(true)); }));
    EXPECT_EQ(bluez.setCalls, QStringList{QStringLiteral("/org/bluez/hci0 Powered=true")});
    EXPECT_TRUE(offMainThread([&] { return bluetooth.isPowered(); }));
}

TEST_F(BluezBluetoothTest, withoutBluezOrAnAdapterItReadsOffAndRefuses) {
    ASSERT_FALSE(bus.empty()) << "run under dbus-run-session";
    BluezBluetooth bluetooth(bus);
    EXPECT_FALSE(offMainThread([&] { return bluetooth.isPowered(); }));
    const auto absent = offMainThread([&] { return bluetooth.setPowered(true); });
    ASSERT_FALSE(absent);
    EXPECT_TRUE(absent.error().message.starts_with("BlueZ does not answer")) << absent.error().message;

    FakeBluez bluez(QString::fromStdString(bus));
    ASSERT_TRUE(bluez.registered());
    const auto none = offMainThread([&] { return bluetooth.setPowered(true); });
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().message, "there is no Bluetooth adapter");
    EXPECT_TRUE(bluez.setCalls.isEmpty());
}

}  // namespace
}  // namespace quorvane::platform::dbus

#include "adapters/dbus/BluezBluetooth.hpp"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QMap>

#include "adapters/dbus/ManagedObjects.hpp"

namespace quorvane::platform::dbus {

namespace {

constexpr const char* service = "org.bluez";
constexpr const char* adapterInterface = "org.bluez.Adapter1";
constexpr int timeoutMs = 2000;

}  // namespace

BluezBluetooth::BluezBluetooth(std::string address)
    : connection_(QDBusConnection::SystemBus, address, "bluez") {
    registerManagedObjects();
}

bool BluezBluetooth::isPresent() {
    return isRegistered(QDBusConnection::systemBus(), QString::fromLatin1(service));
}

Result<BluezBluetooth::Adapter> BluezBluetooth::firstAdapter() {
    const QDBusConnection bus = connection_.bus();
    if (!bus.isConnected())
        return Error{"the system bus cannot be reached"};
    auto ask = QDBusMessage::createMethodCall(QString::fromLatin1(service), QStringLiteral("/"),
                                              QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                              QStringLiteral("GetManagedObjects"));
    const QDBusReply<ManagedObjects> objects = bus.call(ask, QDBus::Block, timeoutMs);
    if (!objects.isValid())
        return Error{"BlueZ does not answer: " + objects.error().message().toStdString()};
    // The map is ordered by object path: hci0 before hci1.
    for (auto object = objects.value().cbegin(); object != objects.value().cend(); ++object) {
        const auto adapter = object.value().constFind(QString::fromLatin1(adapterInterface));
        if (adapter == object.value().cend())
            continue;
        return Adapter{object.key().path(),
                       adapter.value().value(QStringLiteral("Powered")).toBool()};
    }
    return Error{"there is no Bluetooth adapter"};
}

bool BluezBluetooth::isPowered() {
    const auto adapter = firstAdapter();
    return adapter && adapter.value().powered;
}

Status BluezBluetooth::setPowered(bool on) {
    const auto adapter = firstAdapter();
    if (!adapter)
        return Error{adapter.error().message};
    auto set = QDBusMessage::createMethodCall(
        QString::fromLatin1(service), adapter.value().path,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    set << QString::fromLatin1(adapterInterface) << QStringLiteral("Powered")
        << QVariant::fromValue(QDBusVariant(on));
    const auto answer = connection_.bus().call(set, QDBus::Block, timeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return Error{"BlueZ refused: " + answer.errorMessage().toStdString()};
    return success();
}

}  // namespace quorvane::platform::dbus

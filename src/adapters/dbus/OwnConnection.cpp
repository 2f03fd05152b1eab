#include "adapters/dbus/OwnConnection.hpp"

#include <QDBusConnectionInterface>

namespace quorvane::platform::dbus {

OwnConnection::OwnConnection(QDBusConnection::BusType bus, const std::string& address,
                             const char* purpose)
    : name_(QStringLiteral("quorvane-%1-%2")
                .arg(QString::fromLatin1(purpose))
                .arg(reinterpret_cast<quintptr>(this), 0, 16)) {
    if (address.empty())
        QDBusConnection::connectToBus(bus, name_);
    else
        QDBusConnection::connectToBus(QString::fromStdString(address), name_);
}

OwnConnection::~OwnConnection() {
    QDBusConnection::disconnectFromBus(name_);
}

bool isRegistered(const QDBusConnection& bus, const QString& service) {
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(service).value();
}

}  // namespace quorvane::platform::dbus

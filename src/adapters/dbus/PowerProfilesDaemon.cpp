#include "adapters/dbus/PowerProfilesDaemon.hpp"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace quorvane::platform::dbus {

namespace {

constexpr int timeoutMs = 2000;
const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString activeProfileProperty = QStringLiteral("ActiveProfile");

struct KnownName {
    const char* service;
    const char* path;
};
constexpr KnownName knownNames[] = {
    {"org.freedesktop.UPower.PowerProfiles", "/org/freedesktop/UPower/PowerProfiles"},
    {"net.hadess.PowerProfiles", "/net/hadess/PowerProfiles"},
};

QString nameFor(const void* owner) {
    return QStringLiteral("quorvane-power-profiles-%1")
        .arg(reinterpret_cast<quintptr>(owner), 0, 16);
}

bool registered(const QDBusConnection& bus, const char* service) {
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QString::fromLatin1(service)).value();
}

}  // namespace

PowerProfilesDaemon::PowerProfilesDaemon(std::string address)
    : connectionName_(nameFor(this)) {
    if (address.empty())
        QDBusConnection::connectToBus(QDBusConnection::SystemBus, connectionName_);
    else
        QDBusConnection::connectToBus(QString::fromStdString(address), connectionName_);
}

PowerProfilesDaemon::~PowerProfilesDaemon() {
    QDBusConnection::disconnectFromBus(connectionName_);
}

bool PowerProfilesDaemon::isPresent() {
    const auto bus = QDBusConnection::systemBus();
    for (const auto& known : knownNames)
        if (registered(bus, known.service))
            return true;
    return false;
}

Result<PowerProfilesDaemon::Name> PowerProfilesDaemon::name() const {
    const QDBusConnection bus(connectionName_);
    if (!bus.isConnected())
        return Error{"the system bus cannot be reached"};
    for (const auto& known : knownNames)
        if (registered(bus, known.service))
            return Name{QString::fromLatin1(known.service), QString::fromLatin1(known.path),
                        QString::fromLatin1(known.service)};
    return Error{"power-profiles-daemon does not run"};
}

Result<std::string> PowerProfilesDaemon::activeProfile() {
    const auto daemon = name();
    if (!daemon)
        return daemon.error();
    auto get = QDBusMessage::createMethodCall(daemon.value().service, daemon.value().path,
                                              properties, QStringLiteral("Get"));
    get << daemon.value().interface << activeProfileProperty;
    const QDBusReply<QDBusVariant> answer =
        QDBusConnection(connectionName_).call(get, QDBus::Block, timeoutMs);
    if (!answer.isValid())
        return Error{"power-profiles-daemon does not answer: " +
                     answer.error().message().toStdString()};
    return answer.value().variant().toString().toStdString();
}

Status PowerProfilesDaemon::setActiveProfile(const std::string& profile) {
    const auto daemon = name();
    if (!daemon)
        return daemon.error();
    auto set = QDBusMessage::createMethodCall(daemon.value().service, daemon.value().path,
                                              properties, QStringLiteral("Set"));
    set << daemon.value().interface << activeProfileProperty
        << QVariant::fromValue(QDBusVariant(QString::fromStdString(profile)));
    const auto answer = QDBusConnection(connectionName_).call(set, QDBus::Block, timeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return Error{"power-profiles-daemon refused " + profile + ": " +
                     answer.errorMessage().toStdString()};
    return success();
}

}  // namespace quorvane::platform::dbus

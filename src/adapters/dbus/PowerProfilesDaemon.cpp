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

}  // namespace

PowerProfilesDaemon::PowerProfilesDaemon(std::string address)
    : connection_(QDBusConnection::SystemBus, address, "power-profiles") {}

bool PowerProfilesDaemon::isPresent() {
    const auto bus = QDBusConnection::systemBus();
    for (const auto& known : knownNames)
        if (isRegistered(bus, QString::fromLatin1(known.service)))
            return true;
    return false;
}

Result<PowerProfilesDaemon::Name> PowerProfilesDaemon::name() const {
    const QDBusConnection bus = connection_.bus();
    if (!bus.isConnected())
        return Error{"the system bus cannot be reached"};
    for (const auto& known : knownNames)
        if (isRegistered(bus, QString::fromLatin1(known.service)))
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
        connection_.bus().call(get, QDBus::Block, timeoutMs);
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
    const auto answer = connection_.bus().call(set, QDBus::Block, timeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return Error{"power-profiles-daemon refused " + profile + ": " +
                     answer.errorMessage().toStdString()};
    return success();
}

}  // namespace quorvane::platform::dbus

#include "adapters/dbus/UDisks2Disks.hpp"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QMap>

#include "adapters/dbus/ManagedObjects.hpp"
#include <map>
#include <optional>
#include <vector>

namespace quorvane::platform::dbus {

namespace {

const QString service = QStringLiteral("org.freedesktop.UDisks2");
const QString driveInterface = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString blockInterface = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString filesystemInterface = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
constexpr int listTimeoutMs = 5000;
// Unmounting writes back what is cached: a slow stick takes a while.
constexpr int ejectTimeoutMs = 60000;

// MountPoints is an array of byte strings, which arrives still marshalled.
bool isMounted(const QVariant& mountPoints) {
    if (mountPoints.canConvert<QDBusArgument>()) {
        QList<QByteArray> points;
        mountPoints.value<QDBusArgument>() >> points;
        return !points.isEmpty();
    }
    return !mountPoints.toList().isEmpty();
}

struct Drive {
    QString name;
    bool ejectable = false;
    bool canPowerOff = false;
    bool hasMedia = false;
    std::vector<QString> mountedFilesystems;  // block object paths
};

}  // namespace

UDisks2Disks::UDisks2Disks(std::string address)
    : connection_(QDBusConnection::SystemBus, address, "udisks") {
    registerManagedObjects();
}

bool UDisks2Disks::isPresent() {
    return isRegistered(QDBusConnection::systemBus(), service);
}

Result<std::vector<std::string>> UDisks2Disks::ejectAll() {
    const QDBusConnection bus = connection_.bus();
    if (!bus.isConnected())
        return Error{"the system bus cannot be reached"};
    auto list = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/UDisks2"),
                                               QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                               QStringLiteral("GetManagedObjects"));
    const QDBusReply<ManagedObjects> objects = bus.call(list, QDBus::Block, listTimeoutMs);
    if (!objects.isValid())
        return Error{"UDisks2 does not answer: " + objects.error().message().toStdString()};

    std::map<QString, Drive> drives;  // by object path, in order
    for (auto object = objects.value().cbegin(); object != objects.value().cend(); ++object) {
        const auto drive = object.value().constFind(driveInterface);
        if (drive == object.value().cend())
            continue;
        const auto& properties = drive.value();
        if (!properties.value(QStringLiteral("Removable")).toBool() &&
            !properties.value(QStringLiteral("Ejectable")).toBool())
            continue;
        QString name = (properties.value(QStringLiteral("Vendor")).toString() + QLatin1Char(' ') +
                        properties.value(QStringLiteral("Model")).toString())
                           .trimmed();
        if (name.isEmpty())
            name = object.key().path().section(QLatin1Char('/'), -1);
        drives[object.key().path()] = {name, properties.value(QStringLiteral("Ejectable")).toBool(),
                                       properties.value(QStringLiteral("CanPowerOff")).toBool(),
                                       properties.value(QStringLiteral("MediaAvailable")).toBool(),
                                       {}};
    }
    for (auto object = objects.value().cbegin(); object != objects.value().cend(); ++object) {
        const auto block = object.value().constFind(blockInterface);
        const auto filesystem = object.value().constFind(filesystemInterface);
        if (block == object.value().cend() || filesystem == object.value().cend())
            continue;
        const auto drivePath =
            block.value().value(QStringLiteral("Drive")).value<QDBusObjectPath>().path();
        auto drive = drives.find(drivePath);
        if (drive != drives.end() &&
            isMounted(filesystem.value().value(QStringLiteral("MountPoints"))))
            drive->second.mountedFilesystems.push_back(object.key().path());
    }

    auto call = [&](const QString& path, const QString& interface, const char* method) {
        auto message = QDBusMessage::createMethodCall(service, path, interface,
                                                      QString::fromLatin1(method));
        message << QVariantMap{};
        const auto answer = bus.call(message, QDBus::Block, ejectTimeoutMs);
        return answer.type() == QDBusMessage::ErrorMessage
                   ? std::optional<std::string>(answer.errorMessage().toStdString())
                   : std::nullopt;
    };
    std::vector<std::string> ejected;
    std::string refused;
    for (const auto& [path, drive] : drives) {
        // Nothing mounted and no disc in it (an empty card reader): nothing
        // to eject.
        if (drive.mountedFilesystems.empty() && !(drive.ejectable && drive.hasMedia))
            continue;
        std::optional<std::string> failed;
        for (const auto& filesystem : drive.mountedFilesystems)
            if (!failed)
                failed = call(filesystem, filesystemInterface, "Unmount");
        if (!failed && (drive.ejectable || drive.canPowerOff))
            failed = call(path, driveInterface, drive.ejectable ? "Eject" : "PowerOff");
        if (failed)
            refused += (refused.empty() ? "" : "; ") + drive.name.toStdString() + ": " + *failed;
        else
            ejected.push_back(drive.name.toStdString());
    }
    if (!refused.empty())
        return Error{"not every disk could be ejected: " + refused};
    return ejected;
}

}  // namespace quorvane::platform::dbus

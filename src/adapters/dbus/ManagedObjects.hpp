#pragma once

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMap>
#include <QString>
#include <QVariantMap>

// What org.freedesktop.DBus.ObjectManager's GetManagedObjects answers: each
// object's interfaces, each with its properties (a{oa{sa{sv}}}).
namespace quorvane::platform::dbus {

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

}  // namespace quorvane::platform::dbus

Q_DECLARE_METATYPE(quorvane::platform::dbus::Interfaces)
Q_DECLARE_METATYPE(quorvane::platform::dbus::ManagedObjects)

namespace quorvane::platform::dbus {

// Teaches Qt D-Bus the two types, once, before a reply is read as them.
inline void registerManagedObjects() {
    static const bool registered = [] {
        qDBusRegisterMetaType<Interfaces>();
        qDBusRegisterMetaType<ManagedObjects>();
        return true;
    }();
    (void)registered;
}

}  // namespace quorvane::platform::dbus

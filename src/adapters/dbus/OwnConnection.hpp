#pragma once

#include <QDBusConnection>
#include <QString>
#include <string>

namespace quorvane::platform::dbus {

// A bus connection of one adapter's own, so that its blocking calls from a
// worker thread never wait behind another's: to the system or the session
// bus, or to the bus at an address (a test's private one). Closed with it.
class OwnConnection {
  public:
    // `purpose` names the connection ("bluez", "logind-power").
    OwnConnection(QDBusConnection::BusType bus, const std::string& address, const char* purpose);
    ~OwnConnection();
    OwnConnection(const OwnConnection&) = delete;
    OwnConnection& operator=(const OwnConnection&) = delete;

    QDBusConnection bus() const { return QDBusConnection(name_); }

  private:
    QString name_;
};

// Whether `service` has an owner on `bus` now.
bool isRegistered(const QDBusConnection& bus, const QString& service);

}  // namespace quorvane::platform::dbus

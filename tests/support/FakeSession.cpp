#include "support/FakeSession.hpp"

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quorvane::testing {

namespace {

const QString login1Path = QStringLiteral("/org/freedesktop/login1");
const QString manager = QStringLiteral("org.freedesktop.login1.Manager");
const QString session = QStringLiteral("org.freedesktop.login1.Session");

}  // namespace

FakeSession::FakeSession(const QString& busAddress)
    : connection_(QDBusConnection::connectToBus(busAddress, QStringLiteral("fake-session"))) {
    registered_ = connection_.isConnected() &&
                  connection_.registerService(QStringLiteral("org.freedesktop.login1")) &&
                  connection_.registerVirtualObject(login1Path, this);
}

FakeSession::~FakeSession() {
    connection_.unregisterObject(login1Path);
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-session"));
    for (int fd : readEnds_)
        ::close(fd);
}

bool FakeSession::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.member() == QStringLiteral("Inhibit")) {
        inhibitCalls_.push_back(message.arguments());
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
            return false;
        readEnds_.push_back(ends[0]);
        const QDBusUnixFileDescriptor writeEnd(ends[1]);  // a duplicate
        ::close(ends[1]);
        connection.send(message.createReply(QVariant::fromValue(writeEnd)));
        return true;
    }
    if (message.member() == QStringLiteral("GetSessionByPID")) {
        connection.send(message.createReply(
            QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(sessionPath)))));
        return true;
    }
    return false;
}

bool FakeSession::released(std::size_t call) const {
    char byte;
    return call < readEnds_.size() && ::read(readEnds_[call], &byte, 1) == 0;
}

void FakeSession::emitSignal(const QString& path, const QString& interface, const QString& name,
                             const QVariantList& arguments) {
    auto message = QDBusMessage::createSignal(path, interface, name);
    message.setArguments(arguments);
    connection_.send(message);
}

void FakeSession::prepareForSleep(bool start) {
    emitSignal(login1Path, manager, QStringLiteral("PrepareForSleep"), {start});
}

void FakeSession::prepareForShutdown(bool start) {
    emitSignal(login1Path, manager, QStringLiteral("PrepareForShutdown"), {start});
}

void FakeSession::lock() {
    emitSignal(QString::fromLatin1(sessionPath), session, QStringLiteral("Lock"), {});
}

void FakeSession::unlock() {
    emitSignal(QString::fromLatin1(sessionPath), session, QStringLiteral("Unlock"), {});
}

void FakeSession::lockedHint(bool locked) {
    emitSignal(QString::fromLatin1(sessionPath), QStringLiteral("org.freedesktop.DBus.Properties"),
               QStringLiteral("PropertiesChanged"),
               {session, QVariantMap{{QStringLiteral("LockedHint"), locked}}, QStringList{}});
}

void FakeSession::screenSaverActive(bool active) {
    emitSignal(QStringLiteral("/org/freedesktop/ScreenSaver"),
               QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("ActiveChanged"),
               {active});
}

}  // namespace quorvane::testing

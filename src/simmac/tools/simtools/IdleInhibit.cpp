#include "IdleInhibit.hpp"

#include <unistd.h>

#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <iostream>

namespace {

const QString reason = QStringLiteral("caffeinate command-line tool");

QDBusMessage screenSaverCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

}  // namespace

IdleInhibit::IdleInhibit(bool display, bool system) {
    if (display) {
        auto inhibit = screenSaverCall(QStringLiteral("Inhibit"));
        inhibit << QStringLiteral("caffeinate") << reason;
        const auto reply = QDBusConnection::sessionBus().call(inhibit);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            screenSaverCookie_ = reply.arguments().front().toUInt();
            holdsScreenSaver_ = true;
        } else {
            std::cerr << "caffeinate: the screen saver cannot be held off: "
                      << reply.errorMessage().toStdString() << "\n";
        }
    }
    if (system) {
        auto inhibit = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
        inhibit << QStringLiteral("idle:sleep") << QStringLiteral("caffeinate") << reason
                << QStringLiteral("block");
        const auto reply = QDBusConnection::systemBus().call(inhibit);
        const auto block = reply.arguments().isEmpty()
                               ? QDBusUnixFileDescriptor()
                               : reply.arguments().front().value<QDBusUnixFileDescriptor>();
        if (reply.type() == QDBusMessage::ReplyMessage && block.isValid())
            sleepBlock_ = ::dup(block.fileDescriptor());
        else
            std::cerr << "caffeinate: idle sleep cannot be blocked: "
                      << reply.errorMessage().toStdString() << "\n";
    }
}

IdleInhibit::~IdleInhibit() {
    if (holdsScreenSaver_) {
        auto release = screenSaverCall(QStringLiteral("UnInhibit"));
        release << screenSaverCookie_;
        QDBusConnection::sessionBus().call(release);
    }
    // logind lets go of the block when its last descriptor closes.
    if (sleepBlock_ >= 0)
        ::close(sleepBlock_);
}

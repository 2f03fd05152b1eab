#include "adapters/dbus/ScreenSaverService.hpp"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace quorvane::platform::dbus {

namespace {

constexpr int timeoutMs = 2000;

struct KnownService {
    const char* service;
    const char* path;
};
// The freedesktop name first: GNOME answers on it too, with the same call.
constexpr KnownService knownServices[] = {
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"},
    {"org.gnome.ScreenSaver", "/org/gnome/ScreenSaver"},
};

}  // namespace

ScreenSaverService::ScreenSaverService(std::string address)
    : connection_(QDBusConnection::SessionBus, address, "screen-saver") {}

bool ScreenSaverService::isPresent() {
    const auto bus = QDBusConnection::sessionBus();
    for (const auto& known : knownServices)
        if (isRegistered(bus, QString::fromLatin1(known.service)))
            return true;
    return false;
}

Status ScreenSaverService::activate() {
    const QDBusConnection bus = connection_.bus();
    if (!bus.isConnected())
        return Error{"the session bus cannot be reached"};
    for (const auto& known : knownServices) {
        if (!isRegistered(bus, QString::fromLatin1(known.service)))
            continue;
        auto call = QDBusMessage::createMethodCall(QString::fromLatin1(known.service),
                                                   QString::fromLatin1(known.path),
                                                   QString::fromLatin1(known.service),
                                                   QStringLiteral("SetActive"));
        call << true;
        const QDBusReply<bool> answer = bus.call(call, QDBus::Block, timeoutMs);
        if (!answer.isValid())
            return Error{"the screen saver refused: " + answer.error().message().toStdString()};
        if (!answer.value())
            return Error{"the screen saver did not start"};
        return success();
    }
    return Error{"no screen saver runs in this session"};
}

namespace {

const QString inhibitService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString inhibitPath = QStringLiteral("/org/freedesktop/ScreenSaver");

// One Inhibit, given back with its cookie on the connection that took it.
class Inhibition final : public AwakeHolder::Hold {
  public:
    Inhibition(QDBusConnection bus, uint cookie) : bus_(std::move(bus)), cookie_(cookie) {}
    ~Inhibition() override {
        auto call = QDBusMessage::createMethodCall(inhibitService, inhibitPath, inhibitService,
                                                   QStringLiteral("UnInhibit"));
        call << cookie_;
        bus_.call(call, QDBus::Block, timeoutMs);
    }

  private:
    QDBusConnection bus_;
    uint cookie_;
};

}  // namespace

bool ScreenSaverService::takesInhibit() {
    return isRegistered(QDBusConnection::sessionBus(), inhibitService);
}

Result<std::unique_ptr<AwakeHolder::Hold>> ScreenSaverService::hold(const std::string& why) {
    QDBusConnection bus = connection_.bus();
    if (!bus.isConnected())
        return Error{"the session bus cannot be reached"};
    // GNOME's own name has no Inhibit: only the freedesktop one does.
    if (!isRegistered(bus, inhibitService))
        return Error{"no screen saver service (org.freedesktop.ScreenSaver) runs in this session"};
    auto call = QDBusMessage::createMethodCall(inhibitService, inhibitPath, inhibitService,
                                               QStringLiteral("Inhibit"));
    call << QStringLiteral("Quorvane") << QString::fromStdString(why);
    const QDBusReply<uint> answer = bus.call(call, QDBus::Block, timeoutMs);
    if (!answer.isValid())
        return Error{"the screen saver refused: " + answer.error().message().toStdString()};
    return std::unique_ptr<Hold>(std::make_unique<Inhibition>(std::move(bus), answer.value()));
}

}  // namespace quorvane::platform::dbus

#include "adapters/dbus/SessionEventSource.hpp"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace quorvane::platform::dbus {

namespace {

const QString login1 = QStringLiteral("org.freedesktop.login1");
const QString login1Path = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString sessionInterface = QStringLiteral("org.freedesktop.login1.Session");

constexpr const char* willSleep = "NSWorkspaceWillSleepNotification";
constexpr const char* didWake = "NSWorkspaceDidWakeNotification";
constexpr const char* willPowerOff = "NSWorkspaceWillPowerOffNotification";
constexpr const char* screenLocked = "com.apple.screenIsLocked";
constexpr const char* screenUnlocked = "com.apple.screenIsUnlocked";
constexpr const char* screenSaverStarted = "com.apple.screensaver.didstart";
constexpr const char* screenSaverStopped = "com.apple.screensaver.didStop";

constexpr std::string_view reported[] = {willSleep,    didWake,         willPowerOff,
                                         screenLocked, screenUnlocked,  screenSaverStarted,
                                         screenSaverStopped};

// The screen savers that say when they start and stop: the freedesktop
// interface (KDE, xfce4-screensaver, most others) and GNOME's.
constexpr std::pair<const char*, const char*> screenSavers[] = {
    {"/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"/ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"/org/gnome/ScreenSaver", "org.gnome.ScreenSaver"},
};

QDBusConnection openBus(const std::string& address, QDBusConnection::BusType type,
                        const QString& name) {
    return address.empty() ? QDBusConnection::connectToBus(type, name)
                           : QDBusConnection::connectToBus(QString::fromStdString(address), name);
}

QString uniqueName(const char* bus, const void* owner) {
    return QStringLiteral("quorvane-%1-%2")
        .arg(QLatin1String(bus))
        .arg(reinterpret_cast<quintptr>(owner), 0, 16);
}

// Why the bus at `address` cannot be there: the socket it names does not
// exist. Only a single plain socket path can be looked at here; anything
// else (several addresses, escapes, abstract sockets, TCP) is left to D-Bus.
std::optional<std::string> missingSocket(const std::string& address, std::string_view bus) {
    constexpr std::string_view prefix = "unix:path=";
    if (!address.starts_with(prefix) || address.find_first_of(",;%") != std::string::npos)
        return std::nullopt;
    const std::string path = address.substr(prefix.size());
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0)
        return std::nullopt;
    return "the " + std::string(bus) + " bus cannot be reached: there is no socket at " + path;
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

SessionEventSource::SessionEventSource(BusAddresses addresses, Deliver deliver,
                                       std::function<bool()> workIsIdle, Log& log,
                                       std::chrono::milliseconds longestDelay)
    : system_(openBus(addresses.system, QDBusConnection::SystemBus, uniqueName("system", this))),
      session_(
          openBus(addresses.session, QDBusConnection::SessionBus, uniqueName("session", this))),
      systemName_(uniqueName("system", this)),
      sessionName_(uniqueName("session", this)),
      deliver_(std::move(deliver)),
      workIsIdle_(std::move(workIsIdle)),
      log_(log),
      longestDelay_(longestDelay) {
    idlePoll_.setInterval(50);
    QObject::connect(&idlePoll_, &QTimer::timeout, this, [this] { releaseWhenIdle(); });
}

SessionEventSource::~SessionEventSource() {
    idlePoll_.stop();
    release();
    QDBusConnection::disconnectFromBus(systemName_);
    QDBusConnection::disconnectFromBus(sessionName_);
}

std::span<const std::string_view> SessionEventSource::reportedNames() {
    return reported;
}

bool SessionEventSource::reports(std::string_view notificationName) {
    return std::find(std::begin(reported), std::end(reported), notificationName) !=
           std::end(reported);
}

std::optional<std::string> SessionEventSource::missingSystemBus(const BusAddresses& addresses) {
    std::string address = addresses.system;
    if (address.empty())
        address = variable("DBUS_SYSTEM_BUS_ADDRESS");
    if (address.empty())
        address = "unix:path=/var/run/dbus/system_bus_socket";
    return missingSocket(address, "system");
}

std::optional<std::string> SessionEventSource::missingSessionBus(const BusAddresses& addresses) {
    std::string address = addresses.session;
    if (address.empty())
        address = variable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.empty())
        return missingSocket(address, "session");
    const std::string runtime = variable("XDG_RUNTIME_DIR");
    if (!runtime.empty() && !missingSocket("unix:path=" + runtime + "/bus", "session"))
        return std::nullopt;
    if (!variable("DISPLAY").empty())
        return std::nullopt;  // D-Bus may launch one for the display
    return std::string("the session bus cannot be reached: DBUS_SESSION_BUS_ADDRESS is not set, ") +
           (runtime.empty() ? "nor XDG_RUNTIME_DIR" : "there is no socket at " + runtime + "/bus") +
           ", and there is no X11 display";
}

Status SessionEventSource::start() {
    // The session's own: there with or without a system bus.
    if (session_.isConnected()) {
        for (const auto& [path, interface] : screenSavers)
            session_.connect(QString(), QLatin1String(path), QLatin1String(interface),
                             QStringLiteral("ActiveChanged"), this,
                             SLOT(screenSaverActiveChanged(bool)));
        watchesScreenSaver_ = true;
    } else {
        notes_.push_back("the session bus cannot be reached: the screen saver is not reported");
        log_.info("SystemEvents", notes_.back());
    }
    if (!system_.isConnected())
        return Error{"the system bus cannot be reached: " +
                     system_.lastError().message().toStdString()};
    // The one call that waits: the bus itself answers it, within a second
    // even when it is overloaded.
    const auto owner = system_.call(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                       QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"),
                                       QStringLiteral("NameHasOwner"))
            << login1,
        QDBus::Block, 1000);
    if (owner.type() != QDBusMessage::ReplyMessage || !owner.arguments().value(0).toBool())
        return Error{"logind (org.freedesktop.login1) is not on the system bus"};
    system_.connect(login1, login1Path, managerInterface, QStringLiteral("PrepareForSleep"), this,
                    SLOT(prepareForSleep(bool)));
    system_.connect(login1, login1Path, managerInterface, QStringLiteral("PrepareForShutdown"),
                    this, SLOT(prepareForShutdown(bool)));
    takeInhibitor();

    // This process's login session: the one whose lock matters.
    auto byPid = system_.asyncCall(QDBusMessage::createMethodCall(
        login1, login1Path, managerInterface, QStringLiteral("GetSessionByPID")) << static_cast<uint>(::getpid()));
    auto* watcher = new QDBusPendingCallWatcher(byPid, this);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this,
                     [this](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         QDBusPendingReply<QDBusObjectPath> reply = *call;
                         if (!reply.isError()) {
                             watchSession(reply.value().path());
                             return;
                         }
                         const QByteArray id = qgetenv("XDG_SESSION_ID");
                         if (id.isEmpty()) {
                             notes_.push_back("not in a login session: lock and unlock are not "
                                              "reported");
                             log_.info("SystemEvents", notes_.back());
                             return;
                         }
                         auto byId = system_.asyncCall(
                             QDBusMessage::createMethodCall(login1, login1Path, managerInterface,
                                                            QStringLiteral("GetSession"))
                             << QString::fromUtf8(id));
                         auto* next = new QDBusPendingCallWatcher(byId, this);
                         QObject::connect(next, &QDBusPendingCallWatcher::finished, this,
                                          [this](QDBusPendingCallWatcher* second) {
                                              second->deleteLater();
                                              QDBusPendingReply<QDBusObjectPath> found = *second;
                                              if (!found.isError())
                                                  watchSession(found.value().path());
                                          });
                     });

    return success();
}

void SessionEventSource::watchSession(const QString& path) {
    system_.connect(login1, path, sessionInterface, QStringLiteral("Lock"), this,
                    SLOT(sessionLock()));
    system_.connect(login1, path, sessionInterface, QStringLiteral("Unlock"), this,
                    SLOT(sessionUnlock()));
    system_.connect(login1, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                    QStringLiteral("PropertiesChanged"), this,
                    SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
}

void SessionEventSource::takeInhibitor() {
    if (inhibitor_.isValid() || inhibitorRequested_)
        return;
    inhibitorRequested_ = true;
    auto call = system_.asyncCall(
        QDBusMessage::createMethodCall(login1, login1Path, managerInterface,
                                       QStringLiteral("Inhibit"))
        << QStringLiteral("shutdown:sleep") << QStringLiteral("Quorvane")
        << QStringLiteral("Running automation") << QStringLiteral("delay"));
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this,
                     [this](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         inhibitorRequested_ = false;
                         QDBusPendingReply<QDBusUnixFileDescriptor> reply = *finished;
                         if (reply.isError()) {
                             log_.warning("SystemEvents",
                                          "no delay inhibitor: " +
                                              reply.error().message().toStdString());
                             return;
                         }
                         inhibitor_ = reply.value();
                     });
}

void SessionEventSource::deliverBeforeSuspending(const char* name) {
    deliver_(name);
    if (!inhibitor_.isValid())
        return;
    releaseBy_ = std::chrono::steady_clock::now() + longestDelay_;
    releaseWhenIdle();
    if (inhibitor_.isValid())
        idlePoll_.start();
}

void SessionEventSource::releaseWhenIdle() {
    if (workIsIdle_() || std::chrono::steady_clock::now() >= releaseBy_) {
        idlePoll_.stop();
        release();
    }
}

void SessionEventSource::release() {
    // Closing our descriptor is what tells logind we are ready.
    inhibitor_ = QDBusUnixFileDescriptor();
}

void SessionEventSource::prepareForSleep(bool start) {
    if (start) {
        deliverBeforeSuspending(willSleep);
        return;
    }
    idlePoll_.stop();
    deliver_(didWake);
    takeInhibitor();
}

void SessionEventSource::prepareForShutdown(bool start) {
    if (start) {
        deliverBeforeSuspending(willPowerOff);
        return;
    }
    takeInhibitor();  // the shutdown was called off
}

void SessionEventSource::setLocked(bool locked) {
    if (locked_ == locked)
        return;
    locked_ = locked;
    deliver_(locked ? screenLocked : screenUnlocked);
}

void SessionEventSource::sessionLock() {
    setLocked(true);
}

void SessionEventSource::sessionUnlock() {
    setLocked(false);
}

void SessionEventSource::sessionPropertiesChanged(const QString& interface,
                                                  const QVariantMap& changed,
                                                  const QStringList&) {
    if (interface != sessionInterface)
        return;
    if (auto hint = changed.constFind(QStringLiteral("LockedHint")); hint != changed.constEnd())
        setLocked(hint->toBool());
}

void SessionEventSource::screenSaverActiveChanged(bool active) {
    if (screenSaverActive_ == active)
        return;
    screenSaverActive_ = active;
    deliver_(active ? screenSaverStarted : screenSaverStopped);
}

}  // namespace quorvane::platform::dbus

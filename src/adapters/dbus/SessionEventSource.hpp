#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <span>
#include <string_view>

#include "platform/Log.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::dbus {

// The buses to watch; an empty address is the usual system or session bus
// (which D-Bus itself lets DBUS_SYSTEM_BUS_ADDRESS and
// DBUS_SESSION_BUS_ADDRESS override).
struct BusAddresses {
    std::string system;
    std::string session;
};

// Reports a Linux session's system events under the names a Mac posts
// them, for the same observers:
//   logind's PrepareForSleep(true|false)  -> "NSWorkspaceWillSleepNotification" | "...DidWake..."
//   logind's PrepareForShutdown(true)     -> "NSWorkspaceWillPowerOffNotification"
//   the session's Lock/Unlock, LockedHint -> "com.apple.screenIsLocked" | "...Unlocked"
//   the screen saver's ActiveChanged      -> "com.apple.screensaver.didstart" | "...didStop"
// Before sleep and power-off it holds a logind delay inhibitor, released
// once the reactions' background work is idle or after `longestDelay`, so a
// rule that runs a command before the machine goes down gets to run it; it
// takes a new one after waking. Every call to another process is
// asynchronous; start() waits for the bus itself, a second at most. Main
// thread only.
class SessionEventSource final : public QObject {
    Q_OBJECT

  public:
    using Deliver = std::function<void(const std::string& notificationName)>;

    static constexpr std::chrono::milliseconds defaultLongestDelay{5000};

    SessionEventSource(BusAddresses addresses, Deliver deliver, std::function<bool()> workIsIdle,
                       Log& log, std::chrono::milliseconds longestDelay = defaultLongestDelay);
    ~SessionEventSource() override;
    SessionEventSource(const SessionEventSource&) = delete;
    SessionEventSource& operator=(const SessionEventSource&) = delete;

    // Why the system bus cannot be there, found without starting D-Bus (its
    // connection thread and library): the socket its address names does not
    // exist. Empty when it may be there.
    static std::optional<std::string> missingSystemBus(const BusAddresses& addresses);
    // The same for the session bus. Without an address, D-Bus looks for
    // "bus" in XDG_RUNTIME_DIR and, on an X11 display, may launch a bus:
    // missing only when neither can be.
    static std::optional<std::string> missingSessionBus(const BusAddresses& addresses);

    // The notifications this reports.
    static std::span<const std::string_view> reportedNames();
    static bool reports(std::string_view notificationName);

    // Connects and subscribes. The screen saver, on the session bus, is
    // watched whatever the system bus does; a missing session bus only
    // leaves it unwatched (said in `notes()`). Fails, naming the bus, when
    // the system bus cannot be reached or logind is not on it: then sleep,
    // power off and the lock are not watched.
    Status start();
    const std::vector<std::string>& notes() const { return notes_; }
    // Whether the screen saver's changes are reported.
    bool watchesScreenSaver() const { return watchesScreenSaver_; }

    // Whether a delay inhibitor is held now.
    bool holdsInhibitor() const { return inhibitor_.isValid(); }

  private Q_SLOTS:
    void prepareForSleep(bool start);
    void prepareForShutdown(bool start);
    void sessionLock();
    void sessionUnlock();
    void sessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                  const QStringList& invalidated);
    void screenSaverActiveChanged(bool active);

  private:
    void takeInhibitor();
    // Delivers, then keeps the inhibitor until the work it started is idle.
    void deliverBeforeSuspending(const char* name);
    void releaseWhenIdle();
    void release();
    void watchSession(const QString& path);
    void setLocked(bool locked);

    QDBusConnection system_;
    QDBusConnection session_;
    QString systemName_;
    QString sessionName_;
    Deliver deliver_;
    std::function<bool()> workIsIdle_;
    Log& log_;
    std::chrono::milliseconds longestDelay_;
    QDBusUnixFileDescriptor inhibitor_;
    bool inhibitorRequested_ = false;
    QTimer idlePoll_;
    std::chrono::steady_clock::time_point releaseBy_{};
    std::optional<bool> locked_;
    std::optional<bool> screenSaverActive_;
    std::vector<std::string> notes_;
    bool watchesScreenSaver_ = false;
};

}  // namespace quorvane::platform::dbus

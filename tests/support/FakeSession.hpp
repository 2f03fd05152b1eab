#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QVariantList>
#include <vector>

namespace quorvane::testing {

// A stand-in for logind and a screen saver on a private bus: answers
// Inhibit with a pipe's write end (its read end sees end of file once every
// holder has closed it, which is how logind learns a delay is over) and
// GetSessionByPID with one session, and emits their signals on demand.
class FakeSession final : public QDBusVirtualObject {
  public:
    static constexpr const char* sessionPath = "/org/freedesktop/login1/session/_3";

    // Takes the name org.freedesktop.login1 on a connection of its own.
    explicit FakeSession(const QString& busAddress);
    ~FakeSession() override;

    bool registered() const { return registered_; }

    void prepareForSleep(bool start);
    void prepareForShutdown(bool start);
    void lock();
    void unlock();
    void lockedHint(bool locked);
    void screenSaverActive(bool active);

    // The arguments of each Inhibit call, and whether the descriptor
    // handed out for it has been released by everyone holding it.
    const std::vector<QVariantList>& inhibitCalls() const { return inhibitCalls_; }
    bool released(std::size_t call) const;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    void emitSignal(const QString& path, const QString& interface, const QString& name,
                    const QVariantList& arguments);

    QDBusConnection connection_;
    bool registered_ = false;
    std::vector<QVariantList> inhibitCalls_;
    std::vector<int> readEnds_;
};

}  // namespace quorvane::testing

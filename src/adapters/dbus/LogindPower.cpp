#include "adapters/dbus/LogindPower.hpp"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <fcntl.h>
#include <unistd.h>
#include <cstdint>

namespace quorvane::platform::dbus {

namespace {

const QString service = QStringLiteral("org.freedesktop.login1");
const QString path = QStringLiteral("/org/freedesktop/login1");
const QString manager = QStringLiteral("org.freedesktop.login1.Manager");
constexpr int timeoutMs = 5000;

std::string refusal(const QDBusMessage& answer, const char* what) {
    return std::string("logind refused to ") + what + ": " + answer.errorMessage().toStdString();
}

}  // namespace

LogindPower::LogindPower(std::string address)
    : connection_(QDBusConnection::SystemBus, address, "logind-power") {}

bool LogindPower::isPresent() {
    return isRegistered(QDBusConnection::systemBus(), service);
}

Status LogindPower::scheduleShutdown(const std::string& type,
                                     std::chrono::system_clock::time_point when) {
    auto call = QDBusMessage::createMethodCall(service, path, manager,
                                               QStringLiteral("ScheduleShutdown"));
    const auto usec =
        std::chrono::duration_cast<std::chrono::microseconds>(when.time_since_epoch()).count();
    call << QString::fromStdString(type) << static_cast<qulonglong>(usec);
    const auto answer = connection_.bus().call(call, QDBus::Block, timeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return Error{refusal(answer, "schedule it")};
    return success();
}

Result<bool> LogindPower::cancelShutdown() {
    auto call = QDBusMessage::createMethodCall(service, path, manager,
                                               QStringLiteral("CancelScheduledShutdown"));
    const QDBusReply<bool> answer =
        connection_.bus().call(call, QDBus::Block, timeoutMs);
    if (!answer.isValid())
        return Error{"logind refused to cancel it: " + answer.error().message().toStdString()};
    return answer.value();
}

Result<std::optional<SystemPower::Scheduled>> LogindPower::scheduledShutdown() {
    auto get = QDBusMessage::createMethodCall(service, path,
                                              QStringLiteral("org.freedesktop.DBus.Properties"),
                                              QStringLiteral("Get"));
    get << manager << QStringLiteral("ScheduledShutdown");
    const QDBusReply<QDBusVariant> answer =
        connection_.bus().call(get, QDBus::Block, timeoutMs);
    if (!answer.isValid())
        return Error{"logind does not answer: " + answer.error().message().toStdString()};
    // A structure (st): the type, and the time in microseconds; "" when none.
    QString type;
    qulonglong usec = 0;
    const auto argument = answer.value().variant().value<QDBusArgument>();
    argument.beginStructure();
    argument >> type >> usec;
    argument.endStructure();
    if (type.isEmpty())
        return std::optional<Scheduled>();
    return std::optional<Scheduled>(Scheduled{
        type.toStdString(), std::chrono::system_clock::time_point(std::chrono::microseconds(static_cast<std::int64_t>(usec)))});
}

Status LogindPower::suspend() {
    auto call = QDBusMessage::createMethodCall(service, path, manager, QStringLiteral("Suspend"));
    call << false;
    const auto answer = connection_.bus().call(call, QDBus::Block, timeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return Error{refusal(answer, "sleep")};
    return success();
}

namespace {

// logind lets go of a block when the last descriptor to it closes, so a
// program that dies gives it back too.
class SleepBlock final : public AwakeHolder::Hold {
  public:
    explicit SleepBlock(int descriptor) : descriptor_(descriptor) {}
    ~SleepBlock() override { ::close(descriptor_); }

  private:
    int descriptor_;
};

}  // namespace

Result<std::unique_ptr<AwakeHolder::Hold>> LogindPower::hold(const std::string& why) {
    const QDBusConnection bus = connection_.bus();
    if (!bus.isConnected())
        return Error{"the system bus cannot be reached"};
    if (!isRegistered(bus, service))
        return Error{"logind does not run on this machine"};
    auto call = QDBusMessage::createMethodCall(service, path, manager, QStringLiteral("Inhibit"));
    call << QStringLiteral("idle:sleep") << QStringLiteral("Quorvane") << QString::fromStdString(why)
         << QStringLiteral("block");
    const QDBusReply<QDBusUnixFileDescriptor> answer = bus.call(call, QDBus::Block, timeoutMs);
    if (!answer.isValid())
        return Error{"logind refused to block idle sleep: " + answer.error().message().toStdString()};
    // The reply's descriptor closes with the reply: keep a copy of our own,
    // closed on exec, so that no program started later holds the block on.
    const int descriptor = answer.value().isValid()
                               ? ::fcntl(answer.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0)
                               : -1;
    if (descriptor < 0)
        return Error{"logind gave no block for idle sleep"};
    return std::unique_ptr<Hold>(std::make_unique<SleepBlock>(descriptor));
}

}  // namespace quorvane::platform::dbus

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TemporaryDirectory.hpp"
#include "support/WaitFor.hpp"

extern char** environ;

// Runs under dbus-run-session: the session bus stands in for the system
// bus too, with FakeIdle as both the screen saver and logind.
namespace quorvane {
namespace {

class FakeIdle final : public QDBusVirtualObject {
  public:
    explicit FakeIdle(const QString& address)
        : connection_(QDBusConnection::connectToBus(address, QStringLiteral("fake-idle"))) {
        registered_ = connection_.registerService(QStringLiteral("org.freedesktop.ScreenSaver")) &&
                      connection_.registerService(QStringLiteral("org.freedesktop.login1")) &&
                      connection_.registerVirtualObject(QStringLiteral("/org"), this,
                                                        QDBusConnection::SubPath);
    }
    ~FakeIdle() override {
        connection_.unregisterObject(QStringLiteral("/org"), QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-idle"));
        if (sleepBlock >= 0)
            ::close(sleepBlock);
    }

    bool registered() const { return registered_; }
    QStringList calls;
    int sleepBlock = -1;  // our end of logind's block: EOF once it is let go

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        QStringList words{message.member()};
        for (const auto& argument : message.arguments())
            words << argument.toString();
        calls << words.join(QLatin1Char(' '));
        if (message.member() == QStringLiteral("Inhibit") &&
            message.path() == QStringLiteral("/org/freedesktop/ScreenSaver")) {
            connection.send(message.createReply(QVariant::fromValue(7u)));
            return true;
        }
        if (message.member() == QStringLiteral("UnInhibit")) {
            connection.send(message.createReply());
            return true;
        }
        if (message.member() == QStringLiteral("Inhibit")) {
            int ends[2];
            if (::pipe(ends) != 0)
                return false;
            sleepBlock = ends[0];
            connection.send(message.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]))));
            ::close(ends[1]);
            return true;
        }
        return false;
    }

  private:
    QDBusConnection connection_;
    bool registered_ = false;
};

using quorvane::testing::waitFor;

TEST(IdleInhibit, caffeinateHoldsTheSessionAwakeUntilItIsEnded) {
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    const QString bus = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_FALSE(bus.isEmpty()) << "run under dbus-run-session";
    FakeIdle idle(bus);
    ASSERT_TRUE(idle.registered());

    quorvane::testing::TemporaryDirectory sim;
    std::filesystem::create_directories(sim.path() / "bin");
    const auto caffeinate = sim.path() / "bin" / "caffeinate";
    std::filesystem::create_symlink(QUORVANE_SIM_TOOLS, caffeinate);
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    environment.push_back("QUORVANE_IDLE_INHIBIT=1");
    environment.push_back("DBUS_SYSTEM_BUS_ADDRESS=" + bus.toStdString());
    std::vector<char*> envp;
    for (auto& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = caffeinate.string();
    std::string d = "-d", i = "-i", t = "-t", seconds = "60";
    char* argv[] = {program.data(), d.data(), i.data(), t.data(), seconds.data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);

    ASSERT_TRUE(waitFor([&] { return idle.calls.size() == 2; })) << idle.calls.join(u'|').toStdString();
    EXPECT_EQ(idle.calls[0], QStringLiteral("Inhibit caffeinate caffeinate command-line tool"));
    EXPECT_EQ(idle.calls[1],
              QStringLiteral("Inhibit idle:sleep caffeinate caffeinate command-line tool block"));
    ASSERT_GE(idle.sleepBlock, 0);

    ::kill(pid, SIGTERM);
    EXPECT_TRUE(waitFor([&] { return idle.calls.contains(QStringLiteral("UnInhibit 7")); }));
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    char byte;
    EXPECT_EQ(::read(idle.sleepBlock, &byte, 1), 0) << "logind's block is still held";
}

}  // namespace
}  // namespace quorvane

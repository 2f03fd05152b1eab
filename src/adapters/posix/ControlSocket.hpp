#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/Log.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// The local control socket that makes the program one instance per user and
// lets the command line talk to the running instance.
//
// The socket lives in a folder only the user can enter (0700), is itself
// 0600, and every connection's peer must be the same user. A request is one
// line of text (at most `maxRequestBytes`), the answer one line back.
// Connections are served side by side, each on a worker of its own with its
// own deadline for the request, so a client that sends nothing, or half a
// line, holds up nobody else; past `maxConnections` a client is told at once
// that nothing was done.

// Where the socket lives by preference: $XDG_RUNTIME_DIR/quorvane/control.sock,
// or a per-user folder under /tmp when there is no runtime folder.
std::filesystem::path controlSocketPath(const std::optional<std::filesystem::path>& runtimeDir);

// The socket's path in a folder that is really private: the preferred one
// when it is this user's and nobody else's (made if missing), else
// `fallbackFolder`, which others cannot make first (it is in the user's own
// state folder). Client and instance resolve it alike, so a folder another
// user made first can neither let a second instance start nor hide the
// first. Fails, naming the folder and its owner, when neither will do.
Result<std::filesystem::path> privateControlSocketPath(
    const std::optional<std::filesystem::path>& runtimeDir,
    const std::filesystem::path& fallbackFolder);

// How a read of one line ended when it gave no line.
enum class NoLine { timedOut, tooLong, closed, reset };

// Reads up to a line feed, within `limit` bytes and `timeout`: the line
// without it. What follows the line feed is dropped (a request or an
// answer is one line). A reset means the peer closed with bytes of ours
// still unread: it never saw the whole of what was sent.
std::optional<std::string> readLine(int fd, std::size_t limit, std::chrono::milliseconds timeout,
                                    NoLine* why = nullptr);

class ControlServer {
  public:
    static constexpr const char* alreadyRunning = "another instance is running";
    static constexpr std::size_t maxRequestBytes = 64 * 1024;
    static constexpr std::size_t maxConnections = 16;
    static constexpr std::chrono::seconds requestTimeout{5};
    // The answer to a connection past the bound: nothing was done.
    static constexpr const char* busyAnswer =
        R"({"ok":false,"busy":true,"error":"Quorvane has too many connections; nothing was done"})";
    // The answer to a request longer than `maxRequestBytes`.
    static constexpr const char* tooLongAnswer =
        R"({"ok":false,"error":"the request is longer than 64 KiB (65536 bytes); nothing was done"})";
    // The answer to a request still being read when the server stops.
    static constexpr const char* stoppedAnswer =
        R"({"ok":false,"busy":true,"error":"Quorvane stopped before reading the request; nothing was done"})";
    // Called on the server's own thread; returns the answer line.
    using Handler = std::function<std::string(const std::string& request)>;

    ControlServer(std::filesystem::path socketPath, Handler handler, Log& log);
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Takes the instance lock, binds and starts answering. Fails when
    // another instance holds the lock; a socket left behind by a dead one
    // is replaced.
    Status start();
    // Stops answering at once, also in the middle of reading a request:
    // what termination does first, so that exit never waits on a client.
    // The instance lock is kept until the server is destroyed.
    void stop();
    // Connections accepted and not yet finished.
    std::size_t openConnections();
    const std::filesystem::path& path() const { return path_; }

  private:
    struct Worker {
        std::thread thread;
        int connection;  // -1 once closed; guarded by workersMutex_
        bool done = false;
    };

    void serve();
    void answer(int connection);
    void reapFinished();

    std::filesystem::path path_;
    Handler handler_;
    Log& log_;
    int lock_ = -1;
    int listener_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex workersMutex_;
    std::list<Worker> workers_;
};

// The error of sendControlRequest when no instance is listening.
inline constexpr const char* notRunning = "Quorvane is not running";
// ... and when the whole request was sent but no answer came in time: it
// may yet be carried out.
inline constexpr const char* noAnswer = "sent, no answer";
// ... and when the server closed without reading all of it (it stopped
// listening with the connection still queued): nothing was done.
inline constexpr const char* notTaken = "closed before the request was read";
// ... and when it read the request and closed without an answer (it ended
// while carrying it out): it may have been carried out.
inline constexpr const char* closedUnanswered =
    "the running Quorvane closed the connection without an answer; the command may have been "
    "carried out";

// Sends one request to the running instance and returns its answer. Fails
// when no instance is listening.
Result<std::string> sendControlRequest(
    const std::filesystem::path& socketPath, const std::string& request,
    std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace quorvane::platform::posix

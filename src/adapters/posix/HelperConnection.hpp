#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Log.hpp"
#include "adapters/posix/HelperProcess.hpp"
#include "adapters/posix/HelperRecords.hpp"

namespace quorvane::platform::posix {

// The program's side of a helper process that serves records (see
// HelperRecords): started on the first question, started again after it
// left (it ends itself when idle, or crashed), and ended with this
// object. A thread of its own reads what the helper sends: answers (records
// of kind "=") go to the question waiting, everything else to `events`.
// Any thread.
class HelperConnection {
  public:
    // A record other than an answer, on the reading thread.
    using Events = std::function<void(HelperRecord& record)>;
    // The helper of that generation left, on the reading thread.
    using Ended = std::function<void(std::uint64_t generation)>;

    HelperConnection(Log& log, std::string source, std::string what, std::filesystem::path program,
                     Events events, Ended ended,
                     std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~HelperConnection();
    HelperConnection(const HelperConnection&) = delete;
    HelperConnection& operator=(const HelperConnection&) = delete;

    // Asks, and waits up to the patience for the answer's fields (after its
    // kind). Starts the helper when none runs. One that leaves before
    // answering is started again and asked once more when `again`; one
    // that does not answer in time is killed. None when no answer came.
    std::optional<std::vector<std::string>> ask(const std::vector<std::string>& request, bool again = true);
    // Sends a record no answer follows, to the helper of `generation` (0:
    // whichever runs); never starts one. With `wait`, waits up to 2 s for
    // room (what must arrive); without, a full socket drops it.
    bool tell(const std::vector<std::string>& record, std::uint64_t generation = 0, bool wait = false);
    // The same for bytes made by the caller, without allocating or waiting
    // for a lock: false when another thread holds it (the helper starting).
    bool tellAtOnce(std::string_view bytes, std::uint64_t generation);

    // The running helper's generation (counted from 1 per start), 0 when none runs.
    std::uint64_t generation() const;
    std::optional<pid_t> helper() const;
    // Ends the helper: its input closes and it leaves, or is killed 2 s later.
    void end();
    // Ends it for good: no question starts another.
    void close();

  private:
    bool startLocked(std::unique_lock<std::mutex>& lock);
    void endLocked(std::unique_lock<std::mutex>& lock, bool kill);
    // Joins the reader of a helper that left, and closes our end.
    void forgetLocked(std::unique_lock<std::mutex>& lock);
    void read(int socket, pid_t pid, std::uint64_t generation);

    Log& log_;
    std::string source_;
    std::string what_;
    std::filesystem::path program_;
    Events events_;
    Ended ended_;
    std::chrono::milliseconds patience_;

    std::mutex askMutex_;  // one question at a time
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    // Our end, closed once the last thread sending on it is done.
    struct Socket {
        int fd = -1;
        Socket() = default;
        Socket(const Socket&) = delete;
        Socket& operator=(const Socket&) = delete;
        ~Socket();
    };
    std::shared_ptr<const Socket> socket_;
    pid_t pid_ = -1;
    bool closed_ = false;
    std::thread reader_;
    std::uint64_t generation_ = 0;  // of the last start
    std::uint64_t started_ = 0;     // generations started so far
    bool left_ = true;              // the helper of `generation_` left (or none was started)
    bool awaiting_ = false;
    std::optional<std::vector<std::string>> answer_;
};

}  // namespace quorvane::platform::posix

#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace quorvane::testing {

// What a test puts where the program expects one of its files: a FIFO, a
// folder, or a sparse file far larger than any it writes.
enum class NotAFile { fifo, folder, runaway };

inline const char* nameOf(NotAFile kind) {
    return kind == NotAFile::fifo ? "a FIFO" : kind == NotAFile::folder ? "a folder" : "200 MB";
}

inline bool putInPlace(NotAFile kind, const std::filesystem::path& path) {
    std::error_code failed;
    std::filesystem::create_directories(path.parent_path(), failed);
    switch (kind) {
        case NotAFile::fifo:
            return ::mkfifo(path.c_str(), 0600) == 0;
        case NotAFile::folder:
            return std::filesystem::create_directory(path, failed);
        case NotAFile::runaway: {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            const bool grown = fd >= 0 && ::ftruncate(fd, 200L << 20) == 0;
            if (fd >= 0)
                ::close(fd);
            return grown;
        }
    }
    return false;
}

// Lets the code under test out of a FIFO it would wait on for good: if the
// test has not said `done()` within `within`, the FIFO is opened from both
// ends (which never waits) and held for a moment, again and again until
// then: a blocked open returns, a write finds a reader, and a read finds the
// end of the file, so the test fails on what it checks instead of hanging.
class FifoRescue {
  public:
    explicit FifoRescue(std::filesystem::path fifo,
                        std::chrono::milliseconds within = std::chrono::seconds(5))
        : thread_([this, fifo = std::move(fifo), within] {
              const auto waitFor = [this](std::chrono::milliseconds span) {
                  const auto until = std::chrono::steady_clock::now() + span;
                  while (!done_ && std::chrono::steady_clock::now() < until)
                      std::this_thread::sleep_for(std::chrono::milliseconds(10));
              };
              waitFor(within);
              while (!done_) {
                  rescued_ = true;
                  const int both = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
                  waitFor(std::chrono::seconds(1));
                  if (both >= 0)
                      ::close(both);
              }
          }) {}
    ~FifoRescue() { done(); }
    FifoRescue(const FifoRescue&) = delete;
    FifoRescue& operator=(const FifoRescue&) = delete;

    void done() {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    // Whether the code under test had to be let out.
    bool rescued() const { return rescued_; }

  private:
    std::atomic<bool> done_{false};
    std::atomic<bool> rescued_{false};
    std::thread thread_;
};

}  // namespace quorvane::testing

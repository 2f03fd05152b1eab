#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvane::core {

// Runs jobs side by side on up to `maxWorkers` threads, made as they are
// needed: for work that waits on the outside world for as long as it likes
// (a user's script), where one long job must not hold back the next. Past
// the bound, jobs wait for a free worker in the order they came.
class WorkerPool {
  public:
    using Job = std::function<void()>;

    WorkerPool(std::string name, std::size_t maxWorkers);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void submit(Job job);
    // Blocks until every job submitted so far, and any they submitted in
    // turn, has finished. Not from one of its own jobs.
    void waitUntilIdle();
    bool isIdle();
    // Waits for the running jobs, drops the waiting ones and takes no more.
    void stop();
    const std::string& name() const { return name_; }

  private:
    void work();

    std::string name_;
    std::size_t maxWorkers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    std::size_t running_ = 0;
    std::size_t waiting_ = 0;  // workers with nothing to do
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace quorvane::core

#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quorvane::core {

// An "actor": jobs run one at a time, in the order they came, on a thread
// of their own. Destroying it waits for the running job and drops the rest.
class SerialExecutor {
  public:
    using Job = std::function<void()>;

    explicit SerialExecutor(std::string name);
    ~SerialExecutor();
    SerialExecutor(const SerialExecutor&) = delete;
    SerialExecutor& operator=(const SerialExecutor&) = delete;

    void submit(Job job);
    // Waits for the running job, drops the rest and takes no more. What the
    // owner calls before the objects its jobs use go away.
    void stop();
    // Blocks until every job submitted so far, and any they submitted in
    // turn, has finished. Not from one of its own jobs.
    void waitUntilIdle();
    bool isIdle();
    const std::string& name() const { return name_; }

  private:
    void loop();

    std::string name_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    bool running_ = false;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace quorvane::core

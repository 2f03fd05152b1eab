#include "core/SerialExecutor.hpp"

namespace quorvane::core {

SerialExecutor::SerialExecutor(std::string name)
    : name_(std::move(name)), thread_([this] { loop(); }) {}

SerialExecutor::~SerialExecutor() {
    stop();
}

void SerialExecutor::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    wake_.notify_one();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

void SerialExecutor::submit(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void SerialExecutor::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return stopping_ || (jobs_.empty() && !running_); });
}

bool SerialExecutor::isIdle() {
    std::lock_guard lock(mutex_);
    return jobs_.empty() && !running_;
}

void SerialExecutor::loop() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            running_ = false;
            if (jobs_.empty())
                idle_.notify_all();
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) {
                idle_.notify_all();
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
            running_ = true;
        }
        job();
    }
}

}  // namespace quorvane::core

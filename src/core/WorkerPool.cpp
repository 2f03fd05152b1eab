#include "core/WorkerPool.hpp"

#include <algorithm>

namespace quorvane::core {

WorkerPool::WorkerPool(std::string name, std::size_t maxWorkers)
    : name_(std::move(name)), maxWorkers_(std::max<std::size_t>(maxWorkers, 1)) {}

WorkerPool::~WorkerPool() {
    stop();
}

void WorkerPool::submit(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_)
            return;
        jobs_.push_back(std::move(job));
        // More jobs than idle workers to take them: another worker, if the
        // bound allows.
        if (jobs_.size() > waiting_ && workers_.size() < maxWorkers_)
            workers_.emplace_back([this] { work(); });
    }
    wake_.notify_one();
}

void WorkerPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++waiting_;
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --waiting_;
        if (stopping_)
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        ++running_;
        lock.unlock();
        job();
        job = nullptr;  // what it holds goes before the pool counts it done
        lock.lock();
        --running_;
        if (jobs_.empty() && running_ == 0)
            idle_.notify_all();
    }
}

void WorkerPool::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return stopping_ || (jobs_.empty() && running_ == 0); });
}

bool WorkerPool::isIdle() {
    std::lock_guard lock(mutex_);
    return jobs_.empty() && running_ == 0;
}

void WorkerPool::stop() {
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
        workers.swap(workers_);
    }
    wake_.notify_all();
    idle_.notify_all();
    for (auto& worker : workers) {
        if (worker.get_id() == std::this_thread::get_id())
            worker.detach();  // a job that stops its own pool ends with it
        else
            worker.join();
    }
}

}  // namespace quorvane::core

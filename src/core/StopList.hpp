#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace quorvane::core {

// What a tweak folder must stop at exit while its tweaks are still alive:
// timers, threads, monitors. An entry leaves the list when it is
// destroyed, so a tweak gone first is never called. Main thread.
class StopList {
  public:
    class Entry {
      public:
        Entry() = default;
        Entry(StopList* list, std::uint64_t id) : list_(list), id_(id) {}
        Entry(Entry&& other) noexcept : list_(other.list_), id_(other.id_) { other.list_ = nullptr; }
        Entry& operator=(Entry&& other) noexcept {
            if (this != &other) {
                reset();
                list_ = other.list_;
                id_ = other.id_;
                other.list_ = nullptr;
            }
            return *this;
        }
        ~Entry() { reset(); }
        void reset() {
            if (list_)
                list_->stops_.erase(id_);
            list_ = nullptr;
        }

      private:
        StopList* list_ = nullptr;
        std::uint64_t id_ = 0;
    };

    StopList() = default;
    StopList(const StopList&) = delete;
    StopList& operator=(const StopList&) = delete;

    [[nodiscard]] Entry add(std::function<void()> stop) {
        stops_.emplace(next_, std::move(stop));
        return {this, next_++};
    }

    // Newest first. A stop may remove other entries (or add some, which
    // are not called): each is looked up again before it is called.
    void stopAll() {
        std::vector<std::uint64_t> ids;
        for (const auto& entry : stops_)
            ids.push_back(entry.first);
        for (auto id = ids.rbegin(); id != ids.rend(); ++id)
            if (auto found = stops_.find(*id); found != stops_.end()) {
                auto stop = found->second;
                stop();
            }
    }

    std::size_t size() const { return stops_.size(); }

  private:
    std::map<std::uint64_t, std::function<void()>> stops_;
    std::uint64_t next_ = 1;
};

}  // namespace quorvane::core

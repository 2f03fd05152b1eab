#pragma once

#include <utility>

#include "core/Signal.hpp"

namespace quorvane::core {

// A value whose every assignment, including an in-place change of one of its
// fields, is announced once to its observers with the whole new value.
template <class T>
class Published {
  public:
    explicit Published(T initial = T{}) : value_(std::move(initial)) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& get() const { return value_; }
    const T* operator->() const { return &value_; }

    void set(T value) {
        value_ = std::move(value);
        changed_.emit(value_);
    }

    // Changes the value in place, then announces it once.
    template <class Change>
    void modify(Change&& change) {
        std::forward<Change>(change)(value_);
        changed_.emit(value_);
    }

    [[nodiscard]] Subscription subscribe(typename Signal<T>::Observer observer) {
        return changed_.subscribe(std::move(observer));
    }

  private:
    T value_;
    Signal<T> changed_;
};

}  // namespace quorvane::core

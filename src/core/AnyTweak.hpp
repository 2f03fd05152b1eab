#pragma once

#include <functional>
#include <memory>

#include "core/Tweak.hpp"

namespace quorvane::core {

// A tweak of any kind, for lists and sets. Two are the same when their ids
// are: a built-in tweak and a script tweak that share an id are equal.
class AnyTweak {
  public:
    explicit AnyTweak(std::shared_ptr<Tweak> tweak) : tweak_(std::move(tweak)) {}

    Tweak& tweak() const { return *tweak_; }
    Tweak* operator->() const { return tweak_.get(); }
    const std::shared_ptr<Tweak>& shared() const { return tweak_; }

    bool operator==(const AnyTweak& other) const { return tweak_->id() == other.tweak_->id(); }

  private:
    std::shared_ptr<Tweak> tweak_;
};

}  // namespace quorvane::core

template <>
struct std::hash<quorvane::core::AnyTweak> {
    std::size_t operator()(const quorvane::core::AnyTweak& tweak) const noexcept {
        return std::hash<std::string>{}(tweak->id());
    }
};

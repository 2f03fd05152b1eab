#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quorvane::platform {

// What went wrong, in words fit for a log line.
struct Error {
    std::string message;
};

// The outcome of a port call: a value or an Error. Ports never let an
// exception escape; every failure travels as one of these.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

struct Done {};

// A call that yields nothing but can fail.
using Status = Result<Done>;

inline Status success() {
    return Done{};
}

}  // namespace quorvane::platform

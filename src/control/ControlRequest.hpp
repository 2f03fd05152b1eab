#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::app {

// One request on the control socket: a JSON object naming its "command".
// Requests come from other processes, so every field is read through the
// checks here, which give the same message for the same mistake whatever
// the command.
class ControlRequest {
  public:
    static platform::Result<ControlRequest> parse(const std::string& line);

    const std::string& command() const { return command_; }
    // The request as it came, for commands that decode it whole.
    const std::string& line() const { return line_; }

    platform::Result<std::string> text(std::string_view field) const;
    platform::Result<bool> flag(std::string_view field) const;
    // A list of texts, at most `limit` of them.
    platform::Result<std::vector<std::string>> texts(std::string_view field,
                                                     std::size_t limit) const;
    // A whole number within [low, high].
    platform::Result<long long> whole(std::string_view field, long long low, long long high) const;
    // A field that may be left out.
    platform::Result<std::optional<std::string>> optionalText(std::string_view field) const;

  private:
    ControlRequest(std::string line, nlohmann::json body, std::string command)
        : line_(std::move(line)), body_(std::move(body)), command_(std::move(command)) {}
    platform::Result<const nlohmann::json*> field(std::string_view name,
                                                  std::string_view kind) const;

    std::string line_;
    nlohmann::json body_;
    std::string command_;
};

// The answer lines: {"ok":false,"error":...} and {"ok":true,...}.
std::string controlFailure(std::string_view message);
std::string controlSuccess(nlohmann::json extra = nlohmann::json::object());

}  // namespace quorvane::app

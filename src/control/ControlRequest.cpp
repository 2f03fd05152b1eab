#include "control/ControlRequest.hpp"

namespace quorvane::app {

platform::Result<ControlRequest> ControlRequest::parse(const std::string& line) {
    // One JSON value and nothing else: the parser would stop at a NUL and
    // take what follows for nothing.
    if (line.find('\0') != std::string::npos)
        return platform::Error{"a request is one JSON object on one line"};
    auto body = nlohmann::json::parse(line, nullptr, false);
    if (!body.is_object() || !body.contains("command") || !body["command"].is_string())
        return platform::Error{"a request is a JSON object with a \"command\""};
    std::string command = body["command"];
    return ControlRequest(line, std::move(body), std::move(command));
}

platform::Result<const nlohmann::json*> ControlRequest::field(std::string_view name,
                                                              std::string_view kind) const {
    const auto found = body_.find(name);
    if (found == body_.end())
        return platform::Error{"\"" + command_ + "\" needs \"" + std::string(name) + "\" (" +
                               std::string(kind) + ")"};
    return &*found;
}

platform::Result<std::string> ControlRequest::text(std::string_view name) const {
    auto value = field(name, "text");
    if (!value)
        return value.error();
    if (!value.value()->is_string())
        return platform::Error{"\"" + std::string(name) + "\" of \"" + command_ +
                               "\" must be text"};
    return value.value()->get<std::string>();
}

platform::Result<bool> ControlRequest::flag(std::string_view name) const {
    auto value = field(name, "true or false");
    if (!value)
        return value.error();
    if (!value.value()->is_boolean())
        return platform::Error{"\"" + std::string(name) + "\" of \"" + command_ +
                               "\" must be true or false"};
    return value.value()->get<bool>();
}

platform::Result<std::vector<std::string>> ControlRequest::texts(std::string_view name,
                                                                 std::size_t limit) const {
    auto value = field(name, "a list of texts");
    if (!value)
        return value.error();
    const auto& list = *value.value();
    const std::string fault = "\"" + std::string(name) + "\" of \"" + command_ + "\" must be ";
    if (!list.is_array() || list.size() > limit)
        return platform::Error{fault + "a list of at most " + std::to_string(limit) + " texts"};
    std::vector<std::string> words;
    for (const auto& word : list) {
        if (!word.is_string())
            return platform::Error{fault + "a list of texts"};
        words.push_back(word.get<std::string>());
    }
    return words;
}

platform::Result<long long> ControlRequest::whole(std::string_view name, long long low,
                                                  long long high) const {
    auto value = field(name, "a whole number");
    if (!value)
        return value.error();
    const auto& number = *value.value();
    if (!number.is_number_integer() || number.get<long long>() < low ||
        number.get<long long>() > high)
        return platform::Error{"\"" + std::string(name) + "\" of \"" + command_ +
                               "\" must be a whole number from " + std::to_string(low) + " to " +
                               std::to_string(high)};
    return number.get<long long>();
}

platform::Result<std::optional<std::string>> ControlRequest::optionalText(
    std::string_view name) const {
    if (!body_.contains(name))
        return std::optional<std::string>();
    auto value = text(name);
    if (!value)
        return value.error();
    return std::optional<std::string>(std::move(value.value()));
}

std::string controlFailure(std::string_view message) {
    return nlohmann::json{{"ok", false}, {"error", message}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string controlSuccess(nlohmann::json extra) {
    extra["ok"] = true;
    return extra.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace quorvane::app

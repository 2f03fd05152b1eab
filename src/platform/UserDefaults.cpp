#include "platform/UserDefaults.hpp"

namespace quorvane::platform {

std::optional<bool> UserDefaults::boolValue(const std::string& key) const {
    auto stored = value(key);
    if (!stored)
        return std::nullopt;
    if (auto* b = std::get_if<bool>(&*stored))
        return *b;
    if (auto* i = std::get_if<std::int64_t>(&*stored))
        return *i != 0;
    return std::nullopt;
}

std::optional<std::int64_t> UserDefaults::intValue(const std::string& key) const {
    auto stored = value(key);
    if (!stored)
        return std::nullopt;
    if (auto* i = std::get_if<std::int64_t>(&*stored))
        return *i;
    if (auto* b = std::get_if<bool>(&*stored))
        return *b ? 1 : 0;
    return std::nullopt;
}

std::optional<double> UserDefaults::doubleValue(const std::string& key) const {
    auto stored = value(key);
    if (!stored)
        return std::nullopt;
    if (auto* d = std::get_if<double>(&*stored))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&*stored))
        return static_cast<double>(*i);
    return std::nullopt;
}

std::optional<std::string> UserDefaults::stringValue(const std::string& key) const {
    auto stored = value(key);
    if (!stored)
        return std::nullopt;
    if (auto* s = std::get_if<std::string>(&*stored))
        return *s;
    return std::nullopt;
}

std::optional<StringList> UserDefaults::stringListValue(const std::string& key) const {
    auto stored = value(key);
    if (!stored)
        return std::nullopt;
    if (auto* list = std::get_if<StringList>(&*stored))
        return *list;
    return std::nullopt;
}

}  // namespace quorvane::platform

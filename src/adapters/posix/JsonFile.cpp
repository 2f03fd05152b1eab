#include "adapters/posix/JsonFile.hpp"

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

std::optional<nlohmann::json> readJsonObject(const std::filesystem::path& file,
                                             std::size_t maxBytes) {
    auto bytes = readFile(file, maxBytes);
    // A NUL ends the parser's input early: what follows would go unseen.
    if (!bytes || !bytes.value() || bytes.value()->find('\0') != std::string::npos)
        return std::nullopt;
    auto parsed = nlohmann::json::parse(*bytes.value(), nullptr, false);
    if (!parsed.is_object())
        return std::nullopt;
    return parsed;
}

Status writeJsonFile(const std::filesystem::path& file, const nlohmann::json& json) {
    if (auto made = makePrivateDirectory(file.parent_path()); !made)
        return made;
    return writeFileAtomically(
        file, json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
}

std::string textOr(const nlohmann::json& object, const char* key, std::string fallback) {
    if (!object.is_object())
        return fallback;
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>()
                                                        : std::move(fallback);
}

std::int64_t wholeOr(const nlohmann::json& object, const char* key, std::int64_t fallback) {
    if (!object.is_object())
        return fallback;
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_integer())
        return fallback;
    if (found->is_number_unsigned() &&
        found->get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX))
        return fallback;
    return found->get<std::int64_t>();
}

}  // namespace quorvane::platform::posix

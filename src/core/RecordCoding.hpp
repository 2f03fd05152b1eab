#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// Stored records are compact JSON objects whose keys are the field names.
// Text that is not valid UTF-8 is replaced rather than failing the whole
// record, so a save never drops the user's data over one bad character.
template <class T>
std::string encodeRecord(const T& record) {
    return nlohmann::json(record).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Nothing when the bytes are not JSON, a required field is missing or a
// value has the wrong type. JSON text never holds a NUL, and the parser takes
// one for the end of its input: a record with one is damaged, whatever came
// before it.
template <class T>
std::optional<T> decodeRecord(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos)
        return std::nullopt;
    try {
        return nlohmann::json::parse(bytes).get<T>();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

// Optional fields: absent (or null) reads as nothing; nothing is omitted.
template <class T>
void readOptional(const nlohmann::json& json, const char* key, std::optional<T>& field) {
    auto found = json.find(key);
    if (found == json.end() || found->is_null())
        field.reset();
    else
        field = found->template get<T>();
}

template <class T>
void writeOptional(nlohmann::json& json, const char* key, const std::optional<T>& field) {
    if (field)
        json[key] = *field;
}

}  // namespace quorvane::core

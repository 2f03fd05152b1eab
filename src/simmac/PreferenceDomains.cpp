#include "simmac/PreferenceDomains.hpp"

#include <plist/plist.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::sim::domains {

namespace {

using nlohmann::ordered_json;
constexpr std::size_t maxDomainBytes = 16 * 1024 * 1024;

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using Owned = std::unique_ptr<void, PlistFree>;

std::string hex(const char* bytes, uint64_t length) {
    std::string text;
    text.reserve(length * 2);
    char pair[3];
    for (uint64_t i = 0; i < length; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(bytes[i]));
        text += pair;
    }
    return text;
}

std::optional<std::string> unhex(const std::string& text) {
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(text.c_str() + i, "%2x", &value) != 1)
            return std::nullopt;
        bytes += static_cast<char>(value);
    }
    return bytes;
}

ordered_json toJson(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return value != 0;
        }
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            return static_cast<int64_t>(value);  // the format's integers are signed
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return value;
        }
        case PLIST_STRING: {
            // By its length: a string holding a NUL (a binary list may) makes
            // libplist's copying getter assert.
            uint64_t length = 0;
            const char* value = plist_get_string_ptr(node, &length);
            return value ? std::string(value, length) : std::string();
        }
        case PLIST_DATA: {
            char* value = nullptr;
            uint64_t length = 0;
            plist_get_data_val(node, &value, &length);
            ordered_json data{{"$data", hex(value, length)}};
            std::free(value);
            return data;
        }
        case PLIST_DATE: {
            int32_t seconds = 0, microseconds = 0;
            plist_get_date_val(node, &seconds, &microseconds);
            return ordered_json{{"$date", seconds + microseconds / 1e6}};
        }
        case PLIST_UID: {
            uint64_t value = 0;
            plist_get_uid_val(node, &value);
            return ordered_json{{"$uid", value}};
        }
        case PLIST_ARRAY: {
            ordered_json array = ordered_json::array();
            for (uint32_t i = 0; i < plist_array_get_size(node); ++i)
                array.push_back(toJson(plist_array_get_item(node, i)));
            return array;
        }
        case PLIST_DICT: {
            ordered_json object = ordered_json::object();
            plist_dict_iter iterator = nullptr;
            plist_dict_new_iter(node, &iterator);
            for (;;) {
                char* key = nullptr;
                plist_t value = nullptr;
                plist_dict_next_item(node, iterator, &key, &value);
                if (!key)
                    break;
                object[key] = toJson(value);
                std::free(key);
            }
            std::free(iterator);
            return object;
        }
        default:
            return nullptr;
    }
}

plist_t toPlist(const ordered_json& value) {
    if (value.is_boolean())
        return plist_new_bool(value.get<bool>() ? 1 : 0);
    if (value.is_number_integer())
        return plist_new_uint(static_cast<uint64_t>(value.get<int64_t>()));
    if (value.is_number())
        return plist_new_real(value.get<double>());
    if (value.is_string())
        return plist_new_string(value.get_ref<const std::string&>().c_str());
    if (value.is_array()) {
        plist_t array = plist_new_array();
        for (const auto& item : value)
            plist_array_append_item(array, toPlist(item));
        return array;
    }
    if (value.is_object()) {
        if (value.size() == 1 && value.contains("$data") && value["$data"].is_string())
            if (auto bytes = unhex(value["$data"].get<std::string>()))
                return plist_new_data(bytes->data(), bytes->size());
        if (value.size() == 1 && value.contains("$date") && value["$date"].is_number()) {
            const double seconds = value["$date"].get<double>();
            const auto whole = static_cast<int32_t>(seconds);
            return plist_new_date(whole, static_cast<int32_t>((seconds - whole) * 1e6));
        }
        if (value.size() == 1 && value.contains("$uid") && value["$uid"].is_number_unsigned())
            return plist_new_uid(value["$uid"].get<uint64_t>());
        plist_t dict = plist_new_dict();
        for (const auto& [key, item] : value.items())
            plist_dict_set_item(dict, key.c_str(), toPlist(item));
        return dict;
    }
    return plist_new_string("");
}

ordered_json sortedKeys(const ordered_json& value) {
    if (value.is_array()) {
        ordered_json array = ordered_json::array();
        for (const auto& item : value)
            array.push_back(sortedKeys(item));
        return array;
    }
    if (!value.is_object())
        return value;
    std::vector<std::string> keys;
    for (const auto& [key, item] : value.items())
        keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    ordered_json object = ordered_json::object();
    for (const auto& key : keys)
        object[key] = sortedKeys(value[key]);
    return object;
}

// Domains written by earlier versions of the stand-in.
std::optional<ordered_json> convertLegacy(const std::filesystem::path& file) {
    auto legacy = file;
    legacy.replace_extension(".json");
    auto bytes = posix::readFile(legacy, maxDomainBytes);
    if (!bytes || !bytes.value())
        return std::nullopt;
    auto values = ordered_json::parse(*bytes.value(), nullptr, false);
    if (!values.is_object())
        return std::nullopt;
    if (!save(file, values))
        return values;  // readable, even if it cannot be moved over yet
    std::error_code ignored;
    std::filesystem::remove(legacy, ignored);
    return values;
}

}  // namespace

std::filesystem::path fileOf(const std::filesystem::path& home, std::string_view domain,
                             bool currentHost) {
    auto folder = home / "Library/Preferences";
    if (currentHost)
        folder /= "ByHost";
    return folder / (std::string(domain) + ".plist");
}

std::optional<ordered_json> load(const std::filesystem::path& file) {
    auto bytes = posix::readFile(file, maxDomainBytes);
    if (!bytes)
        return std::nullopt;
    if (!bytes.value())
        return convertLegacy(file);
    return parse(*bytes.value());
}

Status save(const std::filesystem::path& file, const ordered_json& values) {
    // A domain left without a key goes, file and all, as the system's
    // preferences daemon does: deleting every key a tweak wrote leaves the
    // folder as it was before.
    if (!values.is_object() || values.empty()) {
        std::error_code error;
        std::filesystem::remove(file, error);
        if (error)
            return Error{"cannot remove the empty domain " + file.string() + ": " + error.message()};
        return success();
    }
    if (auto made = posix::makePrivateDirectory(file.parent_path()); !made)
        return made;
    Owned root(toPlist(values.is_object() ? values : ordered_json::object()));
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root.get(), &bytes, &length);
    if (!bytes)
        return Error{"cannot encode the domain " + file.string()};
    std::string encoded(bytes, length);
    plist_to_bin_free(bytes);
    return posix::writeFileAtomically(file, encoded);
}

namespace {

// Whether a key or a text of the list holds a NUL, which a binary list can
// carry: libplist's getters assert on such a key (and abort the program).
// Its XML writer shows every one as it is.
bool holdsNul(plist_t root) {
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &text, &length);
    if (!text)
        return true;
    const bool found = std::memchr(text, 0, length) != nullptr;
    plist_to_xml_free(text);
    return found;
}

}  // namespace

std::optional<ordered_json> parse(const std::string& bytes) {
    if (bytes.empty() || bytes.size() > maxDomainBytes)
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    Owned owned(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT || holdsNul(root))
        return std::nullopt;
    return toJson(root);
}

std::string toXml(const ordered_json& values) {
    Owned root(toPlist(sortedKeys(values.is_object() ? values : ordered_json::object())));
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &text, &length);
    if (!text)
        return {};
    std::string xml(text, length);
    plist_to_xml_free(text);
    return xml;
}

}  // namespace quorvane::platform::sim::domains

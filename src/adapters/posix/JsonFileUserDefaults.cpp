#include "adapters/posix/JsonFileUserDefaults.hpp"

#include <nlohmann/json.hpp>

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

namespace {

constexpr std::string_view source = "UserDefaults";

std::optional<DefaultsValue> fromJson(const nlohmann::json& value) {
    if (value.is_boolean())
        return DefaultsValue(value.get<bool>());
    if (value.is_number_integer()) {
        if (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX)
            return std::nullopt;
        return DefaultsValue(value.get<std::int64_t>());
    }
    if (value.is_number_float())
        return DefaultsValue(value.get<double>());
    if (value.is_string())
        return DefaultsValue(value.get<std::string>());
    if (value.is_array()) {
        StringList list;
        for (const auto& item : value) {
            if (!item.is_string())
                return std::nullopt;
            list.push_back(item.get<std::string>());
        }
        return DefaultsValue(std::move(list));
    }
    return std::nullopt;
}

}  // namespace

JsonFileUserDefaults::JsonFileUserDefaults(std::filesystem::path file, Log& log, bool readOnly)
    : file_(std::move(file)), log_(log), writable_(!readOnly) {
    if (writable_)
        removeStaleTemporariesOf(file_, processStartTime());
    load();
}

void JsonFileUserDefaults::load() {
    auto bytes = readFile(file_, maxFileBytes);
    std::string problem;
    if (!bytes) {
        problem = bytes.error().message;
    } else if (!bytes.value()) {
        return;  // first launch
    } else if (bytes.value()->find('\0') != std::string::npos) {
        // JSON text never holds a NUL, and the parser would take one for
        // the end of the file and accept whatever came before it.
        problem = "a NUL byte in the JSON text";
    } else {
        auto parsed = nlohmann::json::parse(*bytes.value(), nullptr, /*allow_exceptions=*/false);
        if (parsed.is_object()) {
            for (const auto& [key, stored] : parsed.items()) {
                if (auto value = fromJson(stored))
                    values_.emplace(key, std::move(*value));
                else
                    log_.warning(source, "ignoring \"" + key + "\" in " + file_.string() +
                                             ": not a boolean, number, string or list of strings");
            }
            return;
        }
        problem = "not a JSON object";
    }
    if (!writable_) {
        log_.warning(source, "cannot read " + file_.string() + " (" + problem + "); using the defaults");
        return;
    }
    auto aside = moveAside(file_);
    if (aside)
        log_.error(source, "cannot read " + file_.string() + " (" + problem + "); kept it as " +
                               aside.value().string() + " and started from the defaults");
    else {
        // Writing now would destroy what the user had; run on the defaults
        // for this session and leave the file alone.
        writable_ = false;
        log_.error(source, "cannot read " + file_.string() + " (" + problem +
                               ") nor move it aside (" + aside.error().message +
                               "); changes will not be saved this session");
    }
}

std::optional<DefaultsValue> JsonFileUserDefaults::value(const std::string& key) const {
    auto found = values_.find(key);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

void JsonFileUserDefaults::set(const std::string& key, DefaultsValue value) {
    values_[key] = std::move(value);
    writeThrough();
}

void JsonFileUserDefaults::remove(const std::string& key) {
    if (values_.erase(key) > 0)
        writeThrough();
}

void JsonFileUserDefaults::writeThrough() {
    if (!writable_)
        return;
    nlohmann::json object = nlohmann::json::object();
    for (const auto& [key, value] : values_)
        std::visit([&](const auto& v) { object[key] = v; }, value);
    Status written = makePrivateDirectory(file_.parent_path());
    if (written)
        written = writeFileAtomically(file_, object.dump(2) + "\n");
    if (!written)
        log_.error(source, "cannot save: " + written.error().message);
}

}  // namespace quorvane::platform::posix

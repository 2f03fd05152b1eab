#include "simmac/SimHidSystem.hpp"

#include <nlohmann/json.hpp>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/JsonFile.hpp"

namespace quorvane::platform::sim {

namespace {

constexpr std::size_t maxFileBytes = 64 * 1024;
constexpr const char* parametersKey = "HIDParameters";

// A Mac starts with the media keys.
nlohmann::json fresh() {
    return {{parametersKey, {{"HIDFKeyMode", 0}}}, {"fail", "none"}};
}

nlohmann::json load(const std::filesystem::path& file) {
    auto stored = posix::readJsonObject(file, maxFileBytes);
    if (stored && stored->contains(parametersKey) && (*stored)[parametersKey].is_object())
        return *stored;
    return fresh();
}

Status save(const std::filesystem::path& file, const nlohmann::json& state) {
    return posix::writeJsonFile(file, state);
}

}  // namespace

std::optional<std::int64_t> SimHidSystem::parameter(std::string_view name) {
    const auto state = load(file_);
    const auto& parameters = state[parametersKey];
    auto found = parameters.find(std::string(name));
    if (found == parameters.end() || !found->is_number_integer())
        return std::nullopt;
    return found->get<std::int64_t>();
}

Status SimHidSystem::setParameter(std::string_view name, std::int64_t value) {
    auto state = load(file_);
    const std::string failing = posix::textOr(state, "fail", "none");
    if (failing == "port")
        return Error{"cannot get the I/O Kit master port"};
    if (failing == "open")
        return Error{"cannot open the HID system service"};
    if (failing == "set")
        return Error{"cannot set the HID parameter " + std::string(name)};
    state[parametersKey][std::string(name)] = value;
    if (auto saved = save(file_, state); !saved)
        return saved;
    if (journal_)
        journal_->record("SimulatedMac", "hid", "set " + std::string(name) + " to " + std::to_string(value));
    return success();
}

std::string SimHidSystem::describe() const {
    const auto state = load(file_);
    std::string out = "HID parameters:\n";
    for (const auto& [name, value] : state[parametersKey].items())
        out += "  " + name + "  " + value.dump() + "\n";
    const std::string failing = posix::textOr(state, "fail", "none");
    out += failing == "none" ? "Every step succeeds.\n" : "The \"" + failing + "\" step fails.\n";
    return out;
}

Status SimHidSystem::force(std::string_view name, std::int64_t value) {
    auto state = load(file_);
    state[parametersKey][std::string(name)] = value;
    return save(file_, state);
}

Status SimHidSystem::setFailure(std::string_view step) {
    if (step != "port" && step != "open" && step != "set" && step != "none")
        return Error{"a failing step is port, open, set or none"};
    auto state = load(file_);
    state["fail"] = std::string(step);
    return save(file_, state);
}

}  // namespace quorvane::platform::sim

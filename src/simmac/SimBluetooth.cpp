#include "simmac/SimBluetooth.hpp"

#include <nlohmann/json.hpp>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/JsonFile.hpp"

namespace quorvane::platform::sim {

namespace {

constexpr std::size_t maxFileBytes = 4 * 1024;

bool known(std::string_view state) {
    return state == "on" || state == "off" || state == "none";
}

}  // namespace

std::string SimBluetooth::state() {
    const auto stored = posix::readJsonObject(file_, maxFileBytes);
    if (stored && stored->contains("controller") && (*stored)["controller"].is_string())
        if (auto value = (*stored)["controller"].get<std::string>(); known(value))
            return value;
    return "on";
}

Status SimBluetooth::save(std::string_view state) {
    if (auto made = posix::makePrivateDirectory(file_.parent_path()); !made)
        return made;
    return posix::writeFileAtomically(
        file_, nlohmann::json{{"controller", std::string(state)}}.dump() + "\n");
}

bool SimBluetooth::isPowered() {
    std::lock_guard lock(mutex_);
    return state() == "on";
}

Status SimBluetooth::setPowered(bool on) {
    std::lock_guard lock(mutex_);
    if (state() == "none")
        return Error{"this Mac has no Bluetooth controller"};
    if (auto saved = save(on ? "on" : "off"); !saved)
        return saved;
    if (journal_)
        journal_->record("SimulatedMac", "bluetooth", on ? "on" : "off");
    return success();
}

std::string SimBluetooth::describe() {
    std::lock_guard lock(mutex_);
    const auto now = state();
    return now == "none" ? "The simulated Mac has no Bluetooth controller.\n"
                         : "Bluetooth is " + now + ".\n";
}

Status SimBluetooth::force(std::string_view state) {
    if (!known(state))
        return Error{"the Bluetooth controller is on, off or none"};
    std::lock_guard lock(mutex_);
    return save(state);
}

}  // namespace quorvane::platform::sim

#include "simmac/SimSoundVolume.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/JsonFile.hpp"

namespace quorvane::platform::sim {

namespace {

constexpr std::size_t maxFileBytes = 4 * 1024;
constexpr int startingVolume = 50;

int stored(const nlohmann::json& state, SoundVolume::Channel channel) {
    const auto found = state.find(nameOf(channel));
    if (found == state.end() || !found->is_number_integer())
        return startingVolume;
    return std::clamp(found->get<int>(), 0, 100);
}

nlohmann::json load(const std::filesystem::path& file) {
    return posix::readJsonObject(file, maxFileBytes).value_or(nlohmann::json::object());
}

}  // namespace

std::optional<int> SimSoundVolume::volume(Channel channel) {
    std::lock_guard lock(mutex_);
    return stored(load(file_), channel);
}

Status SimSoundVolume::setVolume(Channel channel, int volume) {
    std::lock_guard lock(mutex_);
    auto state = load(file_);
    const int clamped = std::clamp(volume, 0, 100);
    state[nameOf(channel)] = clamped;
    if (auto made = posix::makePrivateDirectory(file_.parent_path()); !made)
        return made;
    if (auto saved = posix::writeFileAtomically(file_, state.dump() + "\n"); !saved)
        return saved;
    if (journal_)
        journal_->record("SimulatedMac", "volume",
                         std::string(nameOf(channel)) + " " + std::to_string(clamped));
    return success();
}

std::string SimSoundVolume::describe() {
    std::lock_guard lock(mutex_);
    const auto state = load(file_);
    return "output volume " + std::to_string(stored(state, Channel::output)) + "\ninput volume " +
           std::to_string(stored(state, Channel::input)) + "\n";
}

}  // namespace quorvane::platform::sim

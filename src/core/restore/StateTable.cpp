#include "core/restore/StateTable.hpp"

namespace quorvane::core {

void StateTable::add(std::string name, Reader reader, Writer writer) {
    settings_[std::move(name)] = {std::move(reader), std::move(writer)};
}

std::optional<std::pair<StateTable::Setting*, std::string>> StateTable::find(
    const std::string& target) {
    for (auto it = settings_.rbegin(); it != settings_.rend(); ++it) {
        const auto& name = it->first;
        if (target == name)
            return std::pair{&it->second, std::string()};
        if (target.size() > name.size() && target.starts_with(name) && target[name.size()] == ' ')
            return std::pair{&it->second, target.substr(name.size() + 1)};
    }
    return std::nullopt;
}

platform::Result<std::optional<std::string>> StateTable::read(const std::string& target) {
    auto found = find(target);
    if (!found)
        return platform::Error{"no " + kind_ + " setting \"" + target + "\" is known here"};
    return found->first->read(found->second);
}

platform::Status StateTable::write(const std::string& target,
                                   const std::optional<std::string>& value) {
    auto found = find(target);
    if (!found)
        return platform::Error{"no " + kind_ + " setting \"" + target + "\" is known here"};
    return found->first->write(found->second, value);
}

}  // namespace quorvane::core

#include "core/catalogue/TweakFactory.hpp"

namespace quorvane::core {

bool TweakFactory::add(std::string id, Maker maker, std::vector<platform::Port> actsThrough) {
    if (makers_.contains(id)) {
        refused_.push_back(std::move(id));
        return false;
    }
    ports_.emplace(id, std::move(actsThrough));
    makers_.emplace(std::move(id), std::move(maker));
    return true;
}

const std::vector<platform::Port>& TweakFactory::portsOf(const std::string& id) const {
    static const std::vector<platform::Port> none;
    auto found = ports_.find(id);
    return found == ports_.end() ? none : found->second;
}

const TweakFactory::Maker* TweakFactory::find(const std::string& id) const {
    auto found = makers_.find(id);
    return found == makers_.end() ? nullptr : &found->second;
}

std::vector<std::string> TweakFactory::ids() const {
    std::vector<std::string> ids;
    ids.reserve(makers_.size());
    for (const auto& [id, maker] : makers_)
        ids.push_back(id);
    return ids;
}

bool MState::*mStateField(const CatalogueRow& row) {
    auto field = std::get_if<bool MState::*>(&row.state);
    return field ? *field : nullptr;
}

const PKeyPath* pStateField(const CatalogueRow& row) {
    return std::get_if<PKeyPath>(&row.state);
}

}  // namespace quorvane::core

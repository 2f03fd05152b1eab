#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/catalogue/CatalogueRow.hpp"
#include "platform/ActsOn.hpp"

namespace quorvane::core {

// How a tweak folder supplies the behaviour of its catalogue tweaks: one
// maker per id, given the tweak's catalogue row. A maker that cannot serve
// the row (its state binding is not the kind the maker expects) answers
// nullptr instead of guessing.
class TweakFactory {
  public:
    using Maker = std::function<std::shared_ptr<Tweak>(const CatalogueRow&)>;

    // Refuses a second maker for an id and remembers it: two folders that
    // claim one tweak is a mistake to fix, not something registration order
    // should settle quietly. Answers whether the maker was taken.
    // `actsThrough`: the ports whose adapters the tweak's work reaches
    // (none: only this program and the network), which say where it acts.
    bool add(std::string id, Maker maker, std::vector<platform::Port> actsThrough);
    const Maker* find(const std::string& id) const;
    const std::vector<platform::Port>& portsOf(const std::string& id) const;

    // The composition root's choice of adapters, which the made tweaks
    // read; without one, every tweak acts on this desktop (tests).
    void useChoices(const platform::AdapterChoices& choices) { choices_ = &choices; }
    const platform::AdapterChoices* choices() const { return choices_; }

    // Every id with a maker, sorted.
    std::vector<std::string> ids() const;
    // Ids given a second maker, in the order they came.
    const std::vector<std::string>& refusedIds() const { return refused_; }

  private:
    std::map<std::string, Maker> makers_;
    std::map<std::string, std::vector<platform::Port>> ports_;
    const platform::AdapterChoices* choices_ = nullptr;
    std::vector<std::string> refused_;
};

// The state binding a maker expects, read from the row. Each answers null
// when the row binds its state another way, so a maker can refuse the row
// rather than throw.
bool MState::*mStateField(const CatalogueRow& row);
const PKeyPath* pStateField(const CatalogueRow& row);

// Makers for the usual shapes, built from the row's information, its state
// binding where it has one, and the folder's services: a toggle of
// persisted state, a toggle mirroring the system, a one-shot.
template <class Toggle, class Services>
TweakFactory::Maker pToggleMaker(Services& services) {
    return [&services](const CatalogueRow& row) -> std::shared_ptr<Tweak> {
        const auto* field = pStateField(row);
        if (!field)
            return nullptr;
        return std::make_shared<Toggle>(row.info, *field, services);
    };
}

template <class Toggle, class Services>
TweakFactory::Maker mToggleMaker(Services& services) {
    return [&services](const CatalogueRow& row) -> std::shared_ptr<Tweak> {
        auto field = mStateField(row);
        if (!field)
            return nullptr;
        return std::make_shared<Toggle>(row.info, field, services);
    };
}

template <class OneShot, class Services>
TweakFactory::Maker oneShotMaker(Services& services) {
    return [&services](const CatalogueRow& row) -> std::shared_ptr<Tweak> {
        return std::make_shared<OneShot>(row.info, services);
    };
}

}  // namespace quorvane::core

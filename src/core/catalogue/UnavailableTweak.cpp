#include "core/catalogue/UnavailableTweak.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

namespace {

class UnavailableTweak : public BuiltinTweak {
  public:
    UnavailableTweak(TweakInfo info, platform::Log& log)
        : BuiltinTweak(std::move(info)), log_(log) {}

    core::RunOutcome run() override {
        log_.warning(id(), "not available in this build; nothing was run");
        return core::RunOutcome::unavailable(notAvailableInThisBuild);
    }
    void reset() override { log_.warning(id(), "not available in this build; nothing was reset"); }
    std::optional<std::string> ownUnavailableReason() const override {
        return notAvailableInThisBuild;
    }

  private:
    platform::Log& log_;
};

class UnavailableMToggle final : public UnavailableTweak, public CanMToggle {
  public:
    UnavailableMToggle(TweakInfo info, platform::Log& log, Store& store, bool MState::*field)
        : UnavailableTweak(std::move(info), log), CanMToggle(store, field) {}
};

class UnavailablePToggle final : public UnavailableTweak, public CanPToggle {
  public:
    UnavailablePToggle(TweakInfo info, platform::Log& log, Store& store, PKeyPath field)
        : UnavailableTweak(std::move(info), log), CanPToggle(store, field) {}
};

class UnavailableOwnToggle final : public UnavailableTweak, public InMemoryToggle {
  public:
    using UnavailableTweak::UnavailableTweak;
};

}  // namespace

std::shared_ptr<Tweak> makeUnavailableTweak(const CatalogueRow& row, Store& store,
                                            platform::Log& log) {
    if (auto field = std::get_if<bool MState::*>(&row.state))
        return std::make_shared<UnavailableMToggle>(row.info, log, store, *field);
    if (auto field = std::get_if<PKeyPath>(&row.state))
        return std::make_shared<UnavailablePToggle>(row.info, log, store, *field);
    if (std::holds_alternative<OwnState>(row.state))
        return std::make_shared<UnavailableOwnToggle>(row.info, log);
    return std::make_shared<UnavailableTweak>(row.info, log);
}

}  // namespace quorvane::core

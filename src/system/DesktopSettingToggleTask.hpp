#pragma once

#include <string>
#include <vector>

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// A switch of the desktop's own settings standing in for a Mac preference:
// true or false written to each key of `keys` this desktop has (the file
// choosers' and the file managers' "show hidden files", say), read back
// from the first it has. Each write is journaled and kept in the restore
// log ("desktop setting") with the value it replaced. Without any of the
// keys the tweak is unavailable, with `missing` as the reason.
class DesktopSettingToggleTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    struct Key {
        std::string schema;
        std::string key;
    };

    DesktopSettingToggleTask(core::TweakInfo info, bool core::MState::*field,
                             SystemServices& services, std::vector<Key> keys,
                             std::string missing)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field),
          services_(services), keys_(std::move(keys)), missing_(std::move(missing)) {}

    core::RunOutcome run() override;
    void refresh() override { refreshThen({}); }
    void refreshThen(std::function<void()> done) override;
    // Back to the desktop's defaults, each key kept in the restore log.
    void reset() override;

  protected:
    std::optional<std::string> ownUnavailableReason() const override;

  private:
    // The keys this desktop has.
    std::vector<Key> presentKeys() const;
    // Sets (a value) or resets (none) each key present, on the command
    // queue, then reads the switch back.
    void writeAll(std::optional<std::string> value);

    SystemServices& services_;
    std::vector<Key> keys_;
    std::string missing_;
};

}  // namespace quorvane::system

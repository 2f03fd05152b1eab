#pragma once

#include "core/catalogue/Catalogue.hpp"
#include "core/restore/RestoreKind.hpp"

namespace quorvane::core {

// Puts our own switches back (the restore log's "switch" kind: the target
// is the tweak's id, the value "on" or "off"), through the switch's normal
// start and stop. Main thread.
class SwitchRestore final : public RestoreKind {
  public:
    explicit SwitchRestore(const Catalogue& catalogue) : catalogue_(catalogue) {}

    platform::Result<std::optional<std::string>> read(const std::string& target) override;
    platform::Status write(const std::string& target,
                           const std::optional<std::string>& value) override;

  private:
    const Catalogue& catalogue_;
};

}  // namespace quorvane::core

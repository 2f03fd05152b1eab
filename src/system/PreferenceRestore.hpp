#pragma once

#include "core/restore/RestoreKind.hpp"
#include "platform/ShellRunner.hpp"

namespace quorvane::system {

// Puts preferences back: the restore log's "preference" kind, whose targets
// and values are those of PreferenceValues.hpp. A value is written into its
// domain's dictionary and the domain imported whole, so the domain's other
// keys stay as they are; a value read back is compared as a property list,
// not as text.
class PreferenceRestore final : public core::RestoreKind {
  public:
    explicit PreferenceRestore(platform::ShellRunner& shell) : shell_(shell) {}

    platform::Result<std::optional<std::string>> read(const std::string& target) override;
    platform::Status write(const std::string& target,
                           const std::optional<std::string>& value) override;
    bool same(const std::optional<std::string>& a,
              const std::optional<std::string>& b) const override;
    std::string describe(const std::optional<std::string>& value) const override;

  private:
    platform::ShellRunner& shell_;
};

}  // namespace quorvane::system

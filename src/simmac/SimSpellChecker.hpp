#pragma once

#include "platform/SpellChecker.hpp"

namespace quorvane::platform::sim {

// The languages a Mac's spell checker offers out of the box, named in
// English. Linux has no system-wide spelling language, so this serves
// every desktop.
class SimSpellChecker final : public SpellChecker {
  public:
    std::vector<SpellLanguage> availableLanguages() const override;
};

}  // namespace quorvane::platform::sim

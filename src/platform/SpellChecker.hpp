#pragma once

#include <string>
#include <vector>

namespace quorvane::platform {

// One language the system's spell checker offers: its identifier ("en_GB")
// and its name in the user's language ("English (United Kingdom)").
struct SpellLanguage {
    std::string id;
    std::string name;
    bool operator==(const SpellLanguage&) const = default;
};

// The system spell checker's languages. Which one it uses is a global
// preference ("NSPreferredSpellServerLanguage"), read and written with the
// defaults tool.
class SpellChecker {
  public:
    virtual ~SpellChecker() = default;
    virtual std::vector<SpellLanguage> availableLanguages() const = 0;
};

}  // namespace quorvane::platform

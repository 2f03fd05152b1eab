#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Signal.hpp"
#include "core/Tweak.hpp"

namespace quorvane::core {

// Marks the user's own script tweaks, which can be deleted from the list.
class ScriptTweak {
  public:
    virtual ~ScriptTweak() = default;
};

inline ScriptTweak* asScriptTweak(Tweak& tweak) {
    return dynamic_cast<ScriptTweak*>(&tweak);
}

// Where the catalogue finds the user's script tweaks, which follow the
// built-in ones.
class ScriptTweakSource {
  public:
    virtual ~ScriptTweakSource() = default;
    virtual std::vector<std::shared_ptr<Tweak>> scriptTweaks() const = 0;
    virtual void deleteScript(const std::string& id) = 0;
    // Announced whenever the list of scripts changes.
    Signal<> changed;
};

// A source with no scripts, for a program without the script service.
class NoScriptTweaks final : public ScriptTweakSource {
  public:
    std::vector<std::shared_ptr<Tweak>> scriptTweaks() const override { return {}; }
    void deleteScript(const std::string&) override {}
};

}  // namespace quorvane::core

#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Journal.hpp"
#include "platform/Scripting.hpp"
#include "platform/ShellRunner.hpp"
#include "platform/SoundVolume.hpp"
#include "simmac/SimHome.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's AppleScript engine. It keeps the last sources it was
// given. `do shell script "..."` really runs its command through the shell
// (with the simulated Mac's tools and home); with administrator privileges
// it first asks the simulated password prompt. The standard additions'
// "volume settings" read and set `volume`, and System Events' dock
// preferences keep "autohide menu bar" as "_HIHideMenuBar" in the global
// domain. Other sources answer from a table of canned outcomes; a source
// that does not compile fails as the real engine does; anything else runs
// and gives no result.
class SimScripting final : public Scripting {
  public:
    SimScripting(ShellRunner& shell, const SimHome& home, Journal& journal,
                 SoundVolume& volume);

    ScriptOutcome execute(const std::string& source) override;

    void setCanned(const std::string& source, ScriptOutcome outcome);
    std::vector<std::string> sources() const;

    struct ShellScript {
        std::string command;  // as the shell receives it
        bool asAdmin = false;
    };
    // `do shell script "<literal>"`, optionally followed by "with
    // administrator privileges"; nothing for any other source.
    static std::optional<ShellScript> parseShellScript(const std::string& source);
    // A rough compile check: quotes closed, tell and if blocks balanced.
    static bool compiles(const std::string& source);

  private:
    ScriptOutcome runShell(const ShellScript& script);
    std::optional<ScriptOutcome> runVolumeSettings(const std::string& statement);
    std::optional<ScriptOutcome> runMenuBarAutohide(const std::string& statement);

    ShellRunner& shell_;
    const SimHome& home_;
    Journal& journal_;
    SoundVolume& volume_;
    mutable std::mutex mutex_;
    std::vector<std::string> sources_;
    std::map<std::string, ScriptOutcome> canned_;
};

}  // namespace quorvane::platform::sim

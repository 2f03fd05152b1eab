#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/restore/RestoreKind.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/RestoreLog.hpp"

namespace quorvane::core {

// Which entries to put back: those that meet every condition given; all of
// them when none is. The restores themselves are chosen only by number or
// as the cause "Restore".
struct RestoreSelection {
    std::vector<std::uint64_t> ids;    // these entries
    std::optional<std::string> cause;  // the changes of this tweak
    std::optional<std::string> since;  // changed at or after this time, as the journal writes it

    bool everything() const { return ids.empty() && !cause && !since; }
    bool matches(const platform::RestoreEntry& entry) const;
};

struct RestoreOptions {
    bool force = false;   // also over a value someone else set since
    bool dryRun = false;  // only say what would be done
};

// What became of one entry.
struct RestoreStep {
    enum class Result { restored, wouldRestore, skipped, failed, notRestorable };

    platform::RestoreEntry entry;
    Result result = Result::failed;
    std::string detail{};  // why, or what else there is to know
    // The values as the kind tells them ("true", "42"); empty: the log's
    // own text.
    std::string shownBefore{};
    std::string shownAfter{};
};

// "restored", "would restore", "skipped", "failed", "not restorable".
std::string restoreResultName(RestoreStep::Result result);
// One line for the command line:
// "restored  #12  AutoHideDockTask  preference  com.apple.dock autohide  1 → 0".
std::string restoreStepLine(const RestoreStep& step);

// Puts back what the tweaks changed, from the restore log, through the
// reader and writer of each kind of state. The newest change goes back
// first, so changes two tweaks made to one thing unwind in order. A value
// someone else set since is left alone unless forced. What is put back is
// journaled and recorded as a change of its own (cause "Restore"), so a
// restore can be put back too. On the thread that restores.
class RestoreService {
  public:
    static constexpr const char* cause = "Restore";

    // Stops a tweak through its own stop (a toggle that is on), before any
    // of its changes is put back; not asked for the restores themselves.
    using SwitchOff = std::function<void(const std::string& cause)>;

    RestoreService(platform::RestoreLog& log, platform::Journal& journal,
                   platform::Log& diagnostics);
    RestoreService(const RestoreService&) = delete;
    RestoreService& operator=(const RestoreService&) = delete;

    void addKind(std::string kind, RestoreKind& reader);
    void setSwitchOff(SwitchOff switchOff) { switchOff_ = std::move(switchOff); }

    // Newest first.
    std::vector<platform::RestoreEntry> list() const;
    // A value of `kind` as a person reads it.
    std::string describe(const std::string& kind, const std::optional<std::string>& value) const;

    // One step per selected entry, newest first; an id asked for that the
    // log does not hold is a failed step of its own, first.
    std::vector<RestoreStep> restore(const RestoreSelection& selection,
                                     RestoreOptions options = {});

  private:
    // `entry` as the log holds it now; `replaced`: what the target held
    // when this restore began, as far as the tweaks' changes tell.
    RestoreStep restoreOne(const platform::RestoreEntry& entry,
                           const std::optional<std::string>& replaced, RestoreOptions options);
    RestoreStep alreadyBack(const platform::RestoreEntry& entry, bool dryRun,
                            std::string detail = "already as it was");
    void forget(const platform::RestoreEntry& entry);
    // Whether the tweak is to be switched off now: the first of its changes
    // in this restore is about to be put back.
    bool switchOffFirst(const std::string& entryCause);

    platform::RestoreLog& log_;
    platform::Journal& journal_;
    platform::Log& diagnostics_;
    std::map<std::string, RestoreKind*> kinds_;
    SwitchOff switchOff_;
    // During one restore: the tweaks switched off, and the log as it was
    // after the latest of them stopped.
    std::vector<std::string> switchedOff_;
    bool refresh_ = false;
    std::vector<platform::RestoreEntry> latest_;
};

}  // namespace quorvane::core

#include "core/restore/RestoreService.hpp"

#include <algorithm>

namespace quorvane::core {

using platform::RestoreEntry;
using platform::restoreValueText;
using Outcome = RestoreStep::Result;

bool RestoreSelection::matches(const RestoreEntry& entry) const {
    if (!ids.empty() && std::find(ids.begin(), ids.end(), entry.id) == ids.end())
        return false;
    if (cause && entry.cause != *cause)
        return false;
    // Putting everything back (or a tweak's, or since a time) means the
    // tweaks' changes: an earlier restore is undone only when asked for
    // by its number or as the restores' own.
    if (ids.empty() && !cause && entry.cause == RestoreService::cause)
        return false;
    // The journal's times sort as text; a date alone sorts before its day's times.
    return !since || entry.time >= *since;
}

std::string restoreResultName(RestoreStep::Result result) {
    switch (result) {
        case Outcome::restored:
            return "restored";
        case Outcome::wouldRestore:
            return "would restore";
        case Outcome::skipped:
            return "skipped";
        case Outcome::failed:
            return "failed";
        case Outcome::notRestorable:
            return "not restorable";
    }
    return "failed";
}

std::string restoreStepLine(const RestoreStep& step) {
    const auto& entry = step.entry;
    std::string line = restoreResultName(step.result) + "  #" + std::to_string(entry.id);
    if (entry.cause.empty())  // an id the log does not hold
        return line + "  " + step.detail;
    line += "  " + entry.cause + "  " + entry.kind + "  " + entry.target;
    if (entry.restorable)
        line += "  " +
                (step.shownAfter.empty() ? restoreValueText(entry.after) : step.shownAfter) +
                " → " +
                (step.shownBefore.empty() ? restoreValueText(entry.before) : step.shownBefore);
    if (!step.detail.empty())
        line += "  (" + step.detail + ")";
    return line;
}

RestoreService::RestoreService(platform::RestoreLog& log, platform::Journal& journal,
                               platform::Log& diagnostics)
    : log_(log), journal_(journal), diagnostics_(diagnostics) {}

std::string RestoreService::describe(const std::string& kind,
                                     const std::optional<std::string>& value) const {
    const auto found = kinds_.find(kind);
    return found == kinds_.end() ? restoreValueText(value) : found->second->describe(value);
}

void RestoreService::addKind(std::string kind, RestoreKind& reader) {
    kinds_[std::move(kind)] = &reader;
}

std::vector<RestoreEntry> RestoreService::list() const {
    auto entries = log_.entries();
    std::reverse(entries.begin(), entries.end());
    return entries;
}

std::vector<RestoreStep> RestoreService::restore(const RestoreSelection& selection,
                                                 RestoreOptions options) {
    auto entries = log_.entries();
    std::vector<RestoreStep> steps;
    for (const auto id : selection.ids) {
        const bool held = std::any_of(entries.begin(), entries.end(),
                                      [id](const RestoreEntry& entry) { return entry.id == id; });
        if (!held) {
            RestoreEntry missing;
            missing.id = id;
            steps.push_back({missing, Outcome::failed, "the restore log holds no such change"});
        }
    }

    std::erase_if(entries, [&](const RestoreEntry& entry) { return !selection.matches(entry); });
    std::sort(entries.begin(), entries.end(),
              [](const RestoreEntry& a, const RestoreEntry& b) { return a.id > b.id; });

    switchedOff_.clear();
    refresh_ = false;
    for (auto entry : entries) {
        // What the target held before anything was switched off: the
        // tweak's own stop may write a value of its own on the way.
        const auto replaced = entry.after;
        // A tweak's own stop may have put back or folded its later changes.
        if (refresh_) {
            latest_ = log_.entries();
            refresh_ = false;
        }
        if (!switchedOff_.empty()) {
            auto now = std::find_if(latest_.begin(), latest_.end(),
                                    [&](const RestoreEntry& kept) { return kept.id == entry.id; });
            if (now == latest_.end()) {
                steps.push_back({entry, Outcome::restored, "put back by switching it off"});
                continue;
            }
            entry = *now;
        }
        steps.push_back(restoreOne(entry, replaced, options));
    }
    switchedOff_.clear();
    latest_.clear();
    for (auto& step : steps)
        if (!step.entry.cause.empty()) {
            step.shownBefore = describe(step.entry.kind, step.entry.before);
            step.shownAfter = describe(step.entry.kind, step.entry.after);
        }
    return steps;
}

RestoreStep RestoreService::restoreOne(const RestoreEntry& entry,
                                       const std::optional<std::string>& replaced,
                                       RestoreOptions options) {
    if (!entry.restorable) {
        // Told once by a restore that meant it: there is nothing to wait for.
        if (!options.dryRun)
            forget(entry);
        return {entry, Outcome::notRestorable,
                entry.note.empty() ? "no copy was kept" : entry.note};
    }
    const auto found = kinds_.find(entry.kind);
    if (found == kinds_.end())
        return {entry, Outcome::failed, "nothing here can put back a " + entry.kind};
    RestoreKind& kind = *found->second;

    auto current = kind.read(entry.target);
    if (!current)
        return {entry, Outcome::failed, current.error().message};
    if (kind.same(current.value(), entry.before))
        return alreadyBack(entry, options.dryRun);
    const bool changedSince = !kind.same(current.value(), entry.after);
    if (changedSince && !options.force)
        return {entry, Outcome::skipped,
                "changed since by someone else: now " + describe(entry.kind, current.value())};
    const std::string over =
        changedSince ? "over " + describe(entry.kind, current.value()) : std::string();
    if (options.dryRun)
        return {entry, Outcome::wouldRestore, over};
    // What a restore replaces, and keeps to be put back in turn: the value
    // someone else set, else the tweak's, not what its stop wrote meanwhile.
    const auto before = changedSince ? current.value() : replaced;

    if (switchOffFirst(entry.cause)) {
        switchOff_(entry.cause);
        refresh_ = true;
        current = kind.read(entry.target);
        if (!current)
            return {entry, Outcome::failed, current.error().message};
        if (kind.same(current.value(), entry.before))
            return alreadyBack(entry, false, "put back by switching it off");
    }

    if (auto written = kind.write(entry.target, entry.before); !written)
        return {entry, Outcome::failed, written.error().message};
    journal_.record(cause, entry.kind,
                    "put back " + entry.target + ": " + describe(entry.kind, before) + " → " +
                        describe(entry.kind, entry.before) + " (changed by " + entry.cause + ")");
    forget(entry);
    RestoreEntry undo;
    undo.cause = cause;
    undo.kind = entry.kind;
    undo.target = entry.target;
    undo.before = before;
    undo.after = entry.before;
    if (auto recorded = log_.record(std::move(undo)); !recorded)
        diagnostics_.error(cause,
                           "put back " + entry.target +
                               " but cannot keep what it replaced: " + recorded.error().message);
    return {entry, Outcome::restored, over};
}

// Someone (the tweak's own stop, or a person) put it back already: nothing
// to write, and nothing left to keep.
RestoreStep RestoreService::alreadyBack(const RestoreEntry& entry, bool dryRun,
                                       std::string detail) {
    if (dryRun)
        return {entry, Outcome::wouldRestore, "already as it was: it would only be forgotten"};
    forget(entry);
    return {entry, Outcome::restored, std::move(detail)};
}

void RestoreService::forget(const RestoreEntry& entry) {
    if (auto removed = log_.remove({entry.id}); !removed)
        diagnostics_.error(cause, "cannot forget change #" + std::to_string(entry.id) + ": " +
                                      removed.error().message);
}

bool RestoreService::switchOffFirst(const std::string& entryCause) {
    if (!switchOff_ || entryCause == cause ||
        std::find(switchedOff_.begin(), switchedOff_.end(), entryCause) != switchedOff_.end())
        return false;
    switchedOff_.push_back(entryCause);
    return true;
}

}  // namespace quorvane::core

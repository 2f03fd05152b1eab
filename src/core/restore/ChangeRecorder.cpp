#include "core/restore/ChangeRecorder.hpp"

namespace quorvane::core {

void ChangeRecorder::around(const std::string& cause, const std::string& kind,
                            RestoreKind& reader, const std::string& target,
                            const std::function<void()>& change) {
    if (!log_) {
        change();
        return;
    }
    auto cannotKeep = [&](const platform::Error& error) {
        diagnostics_.warning(cause, "cannot keep what the change of " + kind + " \"" + target +
                                        "\" replaced: " + error.message);
    };
    const auto before = reader.read(target);
    change();
    if (!before)
        return cannotKeep(before.error());
    const auto after = reader.read(target);
    if (!after)
        return cannotKeep(after.error());
    // The system refused or ignored it: nothing changed, nothing to keep.
    if (reader.same(before.value(), after.value()))
        return;
    record(cause, kind, target, before.value(), after.value());
}

void ChangeRecorder::record(const std::string& cause, const std::string& kind,
                            const std::string& target, std::optional<std::string> before,
                            std::optional<std::string> after) {
    if (!log_ || before == after)
        return;
    platform::RestoreEntry entry;
    entry.cause = cause;
    entry.kind = kind;
    entry.target = target;
    entry.before = std::move(before);
    entry.after = std::move(after);
    keep(std::move(entry));
}

void ChangeRecorder::lost(const std::string& cause, const std::string& kind,
                          const std::string& target, std::string note) {
    if (!log_)
        return;
    platform::RestoreEntry entry;
    entry.cause = cause;
    entry.kind = kind;
    entry.target = target;
    entry.restorable = false;
    entry.note = std::move(note);
    keep(std::move(entry));
}

void ChangeRecorder::keep(platform::RestoreEntry entry) {
    const auto cause = entry.cause;
    const auto target = entry.target;
    if (auto recorded = log_->record(std::move(entry)); !recorded)
        diagnostics_.warning(cause, "cannot keep the change of \"" + target +
                                        "\" to put back: " + recorded.error().message);
}

}  // namespace quorvane::core

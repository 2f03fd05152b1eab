#include "control/RestoreCommand.hpp"

#include <charconv>

namespace quorvane::app {

namespace {

nlohmann::json entryJson(const core::RestoreService& restore, const platform::RestoreEntry& entry) {
    return {{"id", entry.id},
            {"time", entry.time},
            {"cause", entry.cause},
            {"kind", entry.kind},
            {"target", entry.target},
            {"before", restore.describe(entry.kind, entry.before)},
            {"after", restore.describe(entry.kind, entry.after)},
            {"restorable", entry.restorable},
            {"note", entry.note}};
}

// A tweak's id from its name or its id; nothing when no tweak has it.
std::optional<std::string> tweakId(const core::Catalogue& catalogue, const std::string& named) {
    if (named == core::RestoreService::cause)  // the restores' own changes
        return named;
    for (const auto& tweak : catalogue.allTweaks())
        if (tweak->name() == named)
            return tweak->id();
    if (catalogue.find(named))
        return named;
    return std::nullopt;
}

platform::Result<core::RestoreSelection> selection(const ControlRequest& request,
                                                   const core::Catalogue& catalogue) {
    core::RestoreSelection chosen;
    const auto ids = request.texts("ids", 4096);
    if (!ids)
        return ids.error();
    for (const auto& text : ids.value()) {
        std::uint64_t id = 0;
        const auto* end = text.data() + text.size();
        const auto* start = text.starts_with('#') ? text.data() + 1 : text.data();
        if (auto [at, error] = std::from_chars(start, end, id); error != std::errc() || at != end)
            return platform::Error{"\"" + text + "\" is not an entry number (see restore --list)"};
        chosen.ids.push_back(id);
    }
    const auto tweak = request.optionalText("tweak");
    if (!tweak)
        return tweak.error();
    if (tweak.value()) {
        chosen.cause = tweakId(catalogue, *tweak.value());
        if (!chosen.cause)
            return platform::Error{"no such tweak \"" + *tweak.value() + "\""};
    }
    const auto since = request.optionalText("since");
    if (!since)
        return since.error();
    chosen.since = since.value();
    const auto all = request.flag("all");
    if (!all)
        return all.error();
    // Putting back everything is asked for in so many words.
    if (chosen.everything() && !all.value())
        return platform::Error{"say what to put back: entry numbers, --tweak, --since or --all"};
    return chosen;
}

}  // namespace

void bindRestoreCommand(ControlCommands& commands, core::RestoreService& restore,
                        const core::Catalogue& catalogue) {
    commands.bind("restore", [&restore, &catalogue](const ControlRequest& request,
                                                    const ControlCommands::Reply& reply) {
        if (auto listing = request.flag("list"); listing && listing.value()) {
            auto entries = nlohmann::json::array();
            for (const auto& entry : restore.list())
                entries.push_back(entryJson(restore, entry));
            reply(controlSuccess({{"entries", std::move(entries)}}));
            return;
        }
        const auto chosen = selection(request, catalogue);
        const auto dryRun = request.flag("dryRun");
        const auto force = request.flag("force");
        if (!chosen || !dryRun || !force) {
            reply(controlFailure(!chosen   ? chosen.error().message
                                 : !dryRun ? dryRun.error().message
                                           : force.error().message));
            return;
        }
        auto steps = nlohmann::json::array();
        std::map<std::string, int> counts;
        for (const auto& step :
             restore.restore(chosen.value(), {.force = force.value(), .dryRun = dryRun.value()})) {
            ++counts[core::restoreResultName(step.result)];
            steps.push_back({{"line", core::restoreStepLine(step)},
                             {"result", core::restoreResultName(step.result)}});
        }
        reply(controlSuccess({{"steps", std::move(steps)}, {"counts", counts}}));
    });
}

}  // namespace quorvane::app

#include "core/TweaksHolder.hpp"

#include <algorithm>

#include "core/TextFolding.hpp"
#include "core/WorkflowMembership.hpp"
#include "core/catalogue/ScriptTweakSource.hpp"

namespace quorvane::core {

namespace {


HUD hudFor(const std::optional<bool>& newState) {
    if (!newState)
        return HUD::run;
    return *newState ? HUD::toggleOn : HUD::toggleOff;
}

}  // namespace

std::vector<ContextMenuItem> contextMenuItems(Tweak& tweak, TweaksPlace place) {
    std::vector<ContextMenuItem> items{{TweakCellAction::refresh, "Refresh"},
                                       {TweakCellAction::configure, "Configure"}};
    if (asScriptTweak(tweak))
        items.push_back({TweakCellAction::delete_, "Delete"});
    if (tweak.canReset())
        items.push_back({TweakCellAction::reset, "Reset Default"});
    if (place == TweaksPlace::compact)
        items.push_back({TweakCellAction::moveTop, "Move to top"});
    return items;
}

bool matchesSearch(const Tweak& tweak, std::string_view searchText) {
    const auto text = trimmedOfWhiteSpace(searchText);
    if (text.empty())
        return true;
    // Unicode case folding, no locale: what a person types finds "Élan
    // vital" whatever the case of either.
    const auto needle = foldedForSearch(text);
    return containsFolded(tweak.name(), needle) || containsFolded(tweak.description(), needle);
}

namespace {

// A reason reads as a clause ("needs the … permission"); the label starts it
// as a sentence.
std::string sentenceCase(std::string text) {
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    return text;
}

}  // namespace

TweaksHolder::TweaksHolder(TweaksPlace shownIn, const Catalogue& catalogue, Store& store,
                           platform::MainQueue& queue, TweakNotifications& notifications)
    : place(shownIn),
      catalogue_(catalogue),
      store_(store),
      queue_(queue),
      searchDebouncer_(queue, searchDelay),
      taskDidRun_(queue, taskDidRunInterval,
                  [this](const std::optional<bool>& newState) { showHUD(hudFor(newState)); }) {
    subscriptions_.push_back(searchText.subscribe(
        [this](const std::string&) { searchDebouncer_.call([this] { reload(); }); }));
    subscriptions_.push_back(group.subscribe([this](const TweakGroup&) { reload(); }));
    subscriptions_.push_back(store_.showsSimulatedTweaks.subscribe([this](const bool&) {
        if (followsSimulatedSetting)
            reload();
    }));
    subscriptions_.push_back(catalogue_.scripts().changed.subscribe([this] { reload(); }));
    // A workflow's list follows its memberships and their order.
    subscriptions_.push_back(store_.preference.subscribe([this](const Preference&) {
        if (group->workflowValue())
            reload();
    }));
    subscriptions_.push_back(notifications.taskDidRun.subscribe(
        [this](const std::optional<bool>& newState) { taskDidRun_.send(newState); }));
    subscriptions_.push_back(notifications.taskRefused.subscribe([this](const RunOutcome& outcome) {
        hudMessage.set(sentenceCase(outcome.reason()));
        showHUD(outcome.kind() == RunOutcome::Kind::unavailable ? HUD::unavailable : HUD::refused);
    }));
}

TweaksHolder::~TweaksHolder() {
    for (auto& hide : hudHides_)
        hide.cancel();
}

std::string TweaksHolder::emptyMessage() const {
    std::string_view search = searchText.get();
    const auto blank = " \t\r\n";
    const auto first = search.find_first_not_of(blank);
    if (place == TweaksPlace::main && first != std::string_view::npos) {
        search = search.substr(first, search.find_last_not_of(blank) - first + 1);
        // Says where it looked: everywhere, or in one group only.
        const std::string where = group->kind() == TweakGroup::Kind::all
                                      ? "any group"
                                      : "\u201c" + group->title() + "\u201d";
        return "No tweaks match \u201c" + std::string(search) + "\u201d in " + where;
    }
    if (hiddenCount_ > 0)
        return "The tweaks here act on the simulated Mac, which Settings hides (\u201cShow "
               "tweaks that act on the simulated Mac\u201d).";
    if (group->workflowValue())
        return "No tweaks in this workflow yet. Add one with \u201cWorkflow\u201d in a tweak's "
               "context menu.";
    return "No tweaks here yet.";
}

void TweaksHolder::reload() {
    if (place == TweaksPlace::main)
        reloadMain();
    else
        reloadCompact();
}

bool TweaksHolder::hidden(const Tweak& tweak) const {
    return followsSimulatedSetting && !store_.showsSimulatedTweaks.get() &&
           tweak.actsOn().isSimulated();
}

void TweaksHolder::reloadMain() {
    auto all = catalogue_.allTweaks();
    hiddenCount_ = 0;
    if (group->kind() == TweakGroup::Kind::random) {
        // A fresh pick on every reload; the search and the order by name do
        // not apply to it.
        std::erase_if(all, [this](const auto& tweak) { return hidden(*tweak); });
        std::shuffle(all.begin(), all.end(), random_);
        if (all.size() > randomCount)
            all.resize(randomCount);
        tweaks.set(std::move(all));
        return;
    }
    const Preference& preference = store_.preference.get();
    std::vector<std::shared_ptr<Tweak>> shown;
    for (auto& tweak : all) {
        if (!group->includes(*tweak, preference) || !matchesSearch(*tweak, searchText.get()))
            continue;
        if (hidden(*tweak))
            ++hiddenCount_;
        else
            shown.push_back(std::move(tweak));
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const auto& a, const auto& b) { return a->name() < b->name(); });
    tweaks.set(std::move(shown));
}

void TweaksHolder::reloadCompact() {
    const Workflow* workflow = group->workflowValue();
    if (!workflow)
        return;
    auto shown = tweaksInWorkflow(store_.preference.get(), workflow->id, catalogue_.allTweaks());
    hiddenCount_ = static_cast<std::size_t>(
        std::erase_if(shown, [this](const auto& tweak) { return hidden(*tweak); }));
    tweaks.set(std::move(shown));
}

void TweaksHolder::showHUD(HUD style) {
    if (style != HUD::unavailable && style != HUD::refused)
        hudMessage.set({});
    showsHUD.set(true);
    hudStyle.set(style);
    std::erase_if(hudHides_, [](const platform::TimerToken& hide) { return hide.isCancelled(); });
    // Each label hides a second after it was shown, whatever came since;
    // but a reason stays its whole time, an earlier label's end does not
    // take it away.
    const bool hasReason = style == HUD::unavailable || style == HUD::refused;
    const auto shown = ++hudShown_;
    hudHides_.push_back(queue_.after(hasReason ? reasonDuration : hudDuration, [this, shown] {
        const bool reasonShows = hudStyle.get() == HUD::unavailable || hudStyle.get() == HUD::refused;
        if (reasonShows && shown != hudShown_)
            return;
        showsHUD.set(false);
    }));
}

void TweaksHolder::handle(TweakCellAction action, const std::shared_ptr<Tweak>& tweak) {
    switch (action) {
        case TweakCellAction::configure:
            configuredTask.set(tweak);
            showsConfigureView.set(true);
            break;
        case TweakCellAction::refresh:
            tweak->refresh();
            showHUD(HUD::refreshed);
            break;
        case TweakCellAction::reset:
            tweak->reset();
            showHUD(HUD::reset);
            break;
        case TweakCellAction::moveTop:
            if (const Workflow* workflow = group->workflowValue()) {
                const std::string workflowId = workflow->id;
                store_.preference.modify([&](Preference& preference) {
                    moveToTop(preference, tweak->id(), workflowId);
                });
                reload();
            }
            break;
        case TweakCellAction::delete_:
            catalogue_.scripts().deleteScript(tweak->id());
            showHUD(HUD::deleted);
            break;
    }
}

}  // namespace quorvane::core

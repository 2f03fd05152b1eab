#pragma once

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/Debouncer.hpp"
#include "core/HUD.hpp"
#include "core/Published.hpp"
#include "core/RandomSeed.hpp"
#include "core/Store.hpp"
#include "core/Throttle.hpp"
#include "core/TweakGroup.hpp"
#include "core/TweakNotifications.hpp"
#include "core/catalogue/Catalogue.hpp"

namespace quorvane::core {

// Where a list is shown: the main window, or the status item's popover.
enum class TweaksPlace { main, compact };

// What a cell's context menu asks of its list.
enum class TweakCellAction { configure, refresh, reset, moveTop, delete_ };

struct ContextMenuItem {
    TweakCellAction action;
    std::string_view title;
};

// The context menu of a tweak's cell, in order.
std::vector<ContextMenuItem> contextMenuItems(Tweak& tweak, TweaksPlace place);

// Whether a tweak matches the search field: the text trimmed of white space
// is empty, or found in the name or else the description, ignoring case.
bool matchesSearch(const Tweak& tweak, std::string_view searchText);

// The model behind one shown list of tweaks: which tweaks, in which order,
// what is selected or being configured, and the feedback label.
class TweaksHolder {
  public:
    static constexpr platform::Duration searchDelay = std::chrono::milliseconds(200);
    static constexpr platform::Duration hudDuration = std::chrono::seconds(1);
    // A reason is a sentence to read, not a glance.
    static constexpr platform::Duration reasonDuration = std::chrono::seconds(4);
    static constexpr platform::Duration taskDidRunInterval = std::chrono::seconds(1);
    static constexpr std::size_t randomCount = 5;

    TweaksHolder(TweaksPlace place, const Catalogue& catalogue, Store& store,
                 platform::MainQueue& queue, TweakNotifications& notifications);
    ~TweaksHolder();
    TweaksHolder(const TweaksHolder&) = delete;
    TweaksHolder& operator=(const TweaksHolder&) = delete;

    const TweaksPlace place;
    // Whether tweaks that act on the simulated Mac are left out when the
    // user's setting hides them; the command line lists every tweak.
    bool followsSimulatedSetting = true;
    const Catalogue& catalogue() const { return catalogue_; }
    Published<std::string> searchText;
    Published<std::vector<std::shared_ptr<Tweak>>> tweaks;
    Published<std::shared_ptr<Tweak>> selectedTask;
    Published<std::shared_ptr<Tweak>> configuredTask;
    Published<bool> showsConfigureView{false};
    Published<bool> showsHUD{false};
    Published<HUD> hudStyle{HUD::run};
    // What the label says when it is not the style's own title: the reason
    // a tweak refused or is unavailable.
    Published<std::string> hudMessage{};
    // Assigning a group reloads the list.
    Published<TweakGroup> group{TweakGroup::all()};

    void reload();
    // What an empty list says instead: no match for the search (and where
    // it looked), a workflow with no tweaks yet, a group with none.
    std::string emptyMessage() const;
    // Shows the label for a second. A newer label does not extend an older
    // one's time: each hides one second after it was asked for.
    void showHUD(HUD style);
    void handle(TweakCellAction action, const std::shared_ptr<Tweak>& tweak);

  private:
    void reloadMain();
    void reloadCompact();
    // Whether the user's setting hides `tweak` from this list.
    bool hidden(const Tweak& tweak) const;
    // How many tweaks the last reload left out for that setting alone.
    std::size_t hiddenCount_ = 0;

    const Catalogue& catalogue_;
    Store& store_;
    platform::MainQueue& queue_;
    Debouncer searchDebouncer_;
    Throttle<std::optional<bool>> taskDidRun_;
    std::vector<platform::TimerToken> hudHides_;
    std::uint64_t hudShown_ = 0;  // labels shown so far
    std::mt19937 random_{static_cast<std::mt19937::result_type>(randomSeed())};
    std::vector<Subscription> subscriptions_;
};

}  // namespace quorvane::core

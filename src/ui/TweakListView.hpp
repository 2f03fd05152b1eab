#pragma once

#include <functional>

#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QVBoxLayout>
#include <optional>
#include <vector>

#include "core/TweakActions.hpp"
#include "core/TweaksHandler.hpp"
#include "core/TweaksHolder.hpp"
#include "core/workflows/WorkflowService.hpp"
#include "ui/TweakCell.hpp"

namespace quorvane::ui {

// What every shown list of tweaks works with.
struct ListServices {
    const core::Catalogue& catalogue;
    core::Store& store;
    platform::MainQueue& mainQueue;
    core::TweakNotifications& notifications;
    core::TweakActions& actions;
    core::TweaksHandler& handler;
    // The cells' "Workflow" submenu; none: no submenu.
    core::WorkflowService* workflows;
    // Called after a cell switched or ran its tweak (the main window shows
    // the notch banner); none: nothing.
    std::function<void(const std::shared_ptr<core::Tweak>&)> afterAction = {};
};

// The list of a TweaksHolder: a cell per tweak in the holder's order, the
// context menu, and the feedback label over the list.
class TweakListView final : public QScrollArea {
  public:
    TweakListView(core::TweaksHolder& holder, const ListServices& services,
                  QWidget* parent = nullptr);

    // The cells made so far, in list order: those in view and above, and a
    // few more. finishBuilding() makes the rest at once.
    const std::vector<TweakCell*>& cells() const { return cells_; }
    void finishBuilding();
    QLabel* hud() const { return hud_; }
    QLabel* hudSymbol() const { return hudSymbol_; }
    // The message an empty list shows, centred; hidden otherwise.
    QLabel* emptyState() const { return empty_; }
    // The cell's context menu: the list's items, then the "Workflow" submenu.
    void fillMenu(QMenu& menu, const std::shared_ptr<core::Tweak>& tweak);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void rebuild();
    void buildMore(std::size_t count);
    void buildMoreIfNearTheEnd();
    void updateStates();
    void refreshShown();
    void showMenu(const std::shared_ptr<core::Tweak>& tweak, const QPoint& position);
    void placeHud();
    void placeEmpty();
    QString hudText() const;

    core::TweaksHolder& holder_;
    core::TweakActions& actions_;
    std::function<void(const std::shared_ptr<core::Tweak>&)> afterAction_;
    core::TweaksHandler& handler_;
    core::WorkflowService* workflows_;
    QWidget* content_;
    QVBoxLayout* column_;
    QLabel* hud_;
    QLabel* hudSymbol_;
    static constexpr int hudSymbolSize = 18;
    QLabel* empty_;
    std::vector<TweakCell*> cells_;
    std::vector<std::shared_ptr<core::Tweak>> pending_;
    std::vector<std::shared_ptr<core::Tweak>> shown_;  // the list the cells were made for
    std::optional<core::TweakGroup> shownGroup_;       // and the group it was of
    // Tweaks whose cells were made and not yet asked for the system's state.
    std::vector<std::shared_ptr<core::Tweak>> unrefreshed_;
    bool refreshPosted_ = false;
    static constexpr std::size_t firstBatch = 10;
    static constexpr std::size_t laterBatch = 12;
    std::vector<core::Subscription> subscriptions_;
};

}  // namespace quorvane::ui

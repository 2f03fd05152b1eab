#pragma once

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>
#include <functional>

#include "core/Setting.hpp"
#include "core/TweaksHolder.hpp"
#include "platform/UserDefaults.hpp"
#include "ui/TweakListView.hpp"

namespace quorvane::ui {

// The panel under the status item: the tweaks of one workflow and a footer.
// Pinned (the default, "MenuBarService.pinPopover"), it stays until the
// status item is clicked again; unpinned, a click anywhere else closes it.
class Popover final : public QWidget {
  public:
    static constexpr int width = 332;
    static constexpr int height = 500;
    static constexpr core::BoolSetting pinSetting{"MenuBarService.pinPopover", true};

    struct Services {
        ListServices list;
        platform::UserDefaults& defaults;
        std::function<void()> openMain;
        std::function<void()> openSettings;
        std::function<void()> showAbout;
        std::function<void()> quit;
    };

    explicit Popover(Services services);

    bool isPinned() const;
    void setPinned(bool pinned);
    // Shows the panel with its top centre at `anchor` (under the status
    // item), moved as little as needed to lie wholly inside the available
    // area of the screen that holds the anchor (past a panel at any edge).
    void showAt(const QPoint& anchor);
    // Where showAt() puts a panel of `size` within `available`.
    static QRect placement(const QPoint& anchor, const QSize& size, const QRect& available);

    QToolButton* pinButton() const { return pin_; }
    QLabel* emptyText() const { return empty_; }
    // The header's button with the menu of workflows to show.
    QToolButton* workflowMenu() const { return workflowMenu_; }
    core::TweaksHolder& holder() { return holder_; }
    TweakListView* list() const { return list_; }

  private:
    void applyPinning();
    void showWorkflow();
    void fillWorkflowMenu();

    Services services_;
    core::TweaksHolder holder_;
    TweakListView* list_;
    QLabel* empty_;
    QToolButton* pin_;
    QToolButton* workflowMenu_;
    core::Subscription preferenceWatch_;
};

}  // namespace quorvane::ui

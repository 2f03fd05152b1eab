#pragma once

#include <QWidget>
#include <memory>

#include "core/ExtraPanel.hpp"

class QGridLayout;

namespace quorvane::ui {

// A tweak's extra panel under its cell: one button per item (its emoji and
// title), the marked one checked, in rows of `columns`. A click chooses
// the item; a right click offers its context actions. Rebuilt whenever the
// panel says its items changed.
class ExtraPanelView final : public QWidget {
  public:
    ExtraPanelView(core::ExtraPanel panel, int columns, QWidget* parent = nullptr);

  private:
    void rebuild();

    core::ExtraPanel panel_;
    int columns_;
    QGridLayout* grid_ = nullptr;
    QWidget* content_ = nullptr;
    core::Subscription changed_;
};

}  // namespace quorvane::ui

#pragma once

#include <QAbstractListModel>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <vector>

#include "input/shortcuts/ShortcutSheetView.hpp"

class QLabel;
class QLineEdit;
class QListView;

namespace quorvane::ui {

// The sheet's rows: a star, the item's name over its menu path, and the
// shortcut as badges.
class ShortcutRowModel final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    static constexpr int pathRole = Qt::UserRole + 1;
    static constexpr int symbolsRole = Qt::UserRole + 2;
    static constexpr int favoriteRole = Qt::UserRole + 3;

    // Resets only when the rows differ from those shown.
    void setRows(const input::ShortcutSheetState& state);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    std::shared_ptr<const input::ShortcutInfo> info_;
    std::vector<input::ShortcutRow> rows_;
};

// The floating cheat sheet: frameless, on top, moved by its background,
// taking the keyboard focus for its search field, gone when another
// application comes in front. Its keys (arrows, Return,
// Escape, Tab) are the manager's, through a local monitor.
class ShortcutSheetPanel final : public QWidget, public input::ShortcutSheetView {
  public:
    explicit ShortcutSheetPanel(input::ShortcutSheetController& controller);

    void present(platform::Rect frame) override;
    void withdraw() override;
    bool isShown() const override { return isVisible(); }
    void show(const input::ShortcutSheetState& state) override;

    QLineEdit* searchField() const { return search_; }
    QListView* list() const { return list_; }
    QLabel* emptyState() const { return empty_; }

    // Where the star of a row is drawn, in the list's viewport.
    static QRect starRect(const QRect& row);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // A click on a row's star stars it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    input::ShortcutSheetController& controller_;
    ShortcutRowModel model_;
    QLabel* title_;
    QLabel* count_;
    QLineEdit* search_;
    QListView* list_;
    QLabel* empty_;
    QPoint dragOffset_;
    bool updating_ = false;
};

}  // namespace quorvane::ui

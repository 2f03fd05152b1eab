#pragma once

#include <QAbstractListModel>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "text/emoji/EmojiPickerView.hpp"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListView;
class QTimer;
class QToolButton;

namespace quorvane::ui {

// Emoji as grid cells: the emoji drawn in colour, its name as the tooltip.
class EmojiGridModel final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;
    static constexpr int cellSize = 36;
    static constexpr int emojiSize = 26;

    void setEmojis(std::shared_ptr<const text::EmojiIndex> index, std::vector<std::size_t> shown);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    std::shared_ptr<const text::EmojiIndex> index_;
    std::vector<std::size_t> shown_;
};

// A grid of emoji in icon mode (no widget per cell) that reports a click,
// and "Copy" from a cell's menu.
class EmojiGrid final : public QWidget {
  public:
    explicit EmojiGrid(QWidget* parent = nullptr);
    void setEmojis(std::shared_ptr<const text::EmojiIndex> index, std::vector<std::size_t> shown);
    QListView* view() const { return view_; }
    // Down in `field` moves into the grid, on its first emoji.
    void searchedBy(QLineEdit* field);

    std::function<void(std::size_t position)> picked;
    std::function<void(std::size_t position)> copied;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* field_ = nullptr;
    EmojiGridModel model_;
    QListView* view_;
};

// The emoji picker's popover, 400 × 400: "Search", a row of categories
// (the chosen one highlighted), the grid, and "by Quorvane".
class EmojiPickerPopover final : public QWidget, public text::EmojiPickerView {
  public:
    EmojiPickerPopover();

    void present(platform::Rect anchor) override;
    void withdraw() override;
    bool isPresented() const override { return isVisible(); }
    void setEmojis(std::shared_ptr<const text::EmojiIndex> index, std::vector<std::size_t> shown,
                   text::EmojiCategory category) override;
    void showToast(const std::string& text) override;

    QLineEdit* searchField() const { return search_; }
    EmojiGrid* grid() const { return grid_; }
    QToolButton* categoryButton(text::EmojiCategory category) const;
    // Shown instead of an empty grid.
    QLabel* emptyState() const { return empty_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLineEdit* search_;
    QButtonGroup* categories_;
    EmojiGrid* grid_;
    QLabel* empty_;
    QLabel* toast_;
    QTimer* toastTimer_;
};

}  // namespace quorvane::ui

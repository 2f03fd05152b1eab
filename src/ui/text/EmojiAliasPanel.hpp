#pragma once

#include <QAbstractListModel>
#include <QWidget>
#include <memory>
#include <vector>

#include "text/emoji/EmojiAliasView.hpp"

class QLabel;
class QListView;

namespace quorvane::ui {

// The matches of a typed shortcode as list rows: the emoji, then its
// aliases joined by spaces. No widget per row: ":s" matches hundreds.
class EmojiMatchModel final : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void setMatches(std::shared_ptr<const text::EmojiIndex> index, std::vector<std::size_t> matches);
    bool holds(const std::shared_ptr<const text::EmojiIndex>& index,
               const std::vector<std::size_t>& matches) const;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    static constexpr int emojiRole = Qt::UserRole + 1;

  private:
    std::shared_ptr<const text::EmojiIndex> index_;
    std::vector<std::size_t> matches_;
};

// The floating shortcode panel: a tool window on top that never takes the
// focus from the application being typed in (its keys are captured for
// it), 240 × 300, made once and kept. A click on a row picks it.
class EmojiAliasPanel final : public QWidget, public text::EmojiAliasView {
  public:
    EmojiAliasPanel();

    void present(platform::Rect frame) override;
    void withdraw() override;
    void setMatches(std::shared_ptr<const text::EmojiIndex> index, std::vector<std::size_t> matches,
                    std::optional<std::size_t> selected) override;

    QListView* list() const { return list_; }
    QWidget* emptyState() const { return empty_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    EmojiMatchModel model_;
    QListView* list_;
    QWidget* empty_;
};

}  // namespace quorvane::ui

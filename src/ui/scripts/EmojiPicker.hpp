#pragma once

#include <QToolButton>
#include <functional>
#include <memory>

#include "text/emoji/EmojiIndex.hpp"

namespace quorvane::ui {

class EmojiGrid;

// A button showing an emoji; clicking it opens the emoji picker's grid
// over the whole table, with a field that searches it or takes any other
// emoji typed into it.
class EmojiPicker final : public QToolButton {
  public:
    // Hands the table to the callback, at once when it is loaded, else once
    // it is.
    using Deliver = std::function<void(std::shared_ptr<const text::EmojiIndex>)>;
    using Source = std::function<void(Deliver)>;

    explicit EmojiPicker(const QString& emoji, QWidget* parent = nullptr);

    // Where every picker finds the table (set once by the program).
    static void setSource(Source source);

    QString emoji() const { return emoji_; }
    void choose(const QString& emoji);
    std::function<void(const QString&)> chosen;
    EmojiGrid* grid() const { return grid_; }

  private:
    void fill(const QString& search);
    QString search_;

    QString emoji_;
    EmojiGrid* grid_;
    std::shared_ptr<const text::EmojiIndex> index_;
    std::vector<std::size_t> shown_;
};

}  // namespace quorvane::ui

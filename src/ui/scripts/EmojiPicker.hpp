#pragma once

#include <QToolButton>
#include <functional>

namespace quorvane::ui {

// A button showing an emoji; clicking it opens a grid of emoji to choose
// from, or a field to type any other.
class EmojiPicker final : public QToolButton {
  public:
    explicit EmojiPicker(const QString& emoji, QWidget* parent = nullptr);

    QString emoji() const { return emoji_; }
    void choose(const QString& emoji);
    std::function<void(const QString&)> chosen;

  private:
    QString emoji_;
};

}  // namespace quorvane::ui

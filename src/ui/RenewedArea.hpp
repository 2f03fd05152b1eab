#pragma once

#include <QScrollArea>
#include <QVBoxLayout>

namespace quorvane::ui {

// A scrolling area whose content is made anew whenever what it shows
// changes. The old content leaves the view at once and is deleted later:
// it may be the widget whose button started the change.
class RenewedArea final : public QScrollArea {
  public:
    explicit RenewedArea(QWidget* parent = nullptr);

    // An empty content column in place of the old one.
    QVBoxLayout* renew();
    QWidget* content() const { return content_; }

  private:
    QVBoxLayout* column_;
    QWidget* content_ = nullptr;
};

}  // namespace quorvane::ui

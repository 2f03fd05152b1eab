#include "ui/RenewedArea.hpp"

namespace quorvane::ui {

namespace {

// Out of view and out of its layout at once, deleted once control is back
// in the event loop.
void retire(QWidget* widget) {
    if (!widget)
        return;
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

}  // namespace

RenewedArea::RenewedArea(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    auto* holder = new QWidget;
    column_ = new QVBoxLayout(holder);
    column_->addStretch(1);
    setWidget(holder);
}

QVBoxLayout* RenewedArea::renew() {
    retire(content_);
    content_ = new QWidget;
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(0, 0, 0, 0);
    column_->insertWidget(0, content_);
    return column;
}

}  // namespace quorvane::ui

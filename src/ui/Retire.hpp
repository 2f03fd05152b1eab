#pragma once

#include <QWidget>

namespace quorvane::ui {

// Takes a widget out of view and its layout at once, and deletes it once
// control is back in the event loop: it may be the widget whose button or
// picker started the change that replaces it.
inline void retire(QWidget* widget) {
    if (!widget)
        return;
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

}  // namespace quorvane::ui

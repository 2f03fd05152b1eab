#pragma once

#include <QLabel>

namespace quorvane::ui {

// The large bold title at the top of a main-window page.
inline QLabel* makePageTitle(const QString& text, QWidget* parent = nullptr) {
    auto* title = new QLabel(text, parent);
    QFont font = title->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    title->setFont(font);
    return title;
}

}  // namespace quorvane::ui

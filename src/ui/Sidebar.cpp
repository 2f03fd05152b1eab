#include "ui/Sidebar.hpp"

#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Looks.hpp"

namespace quorvane::ui {

namespace {

constexpr int iconSide = 16;
constexpr int padding = 5;  // left of the icon, right of the title
constexpr int gap = 6;      // between them

}  // namespace

SidebarEntry::SidebarEntry(const QIcon& icon, const QString& title, int destination,
                           const QWidget& sidebar)
    : destination_(destination), sidebar_(sidebar) {
    setText(title);
    setIcon(icon);
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize SidebarEntry::sizeHint() const {
    const int height = std::max(iconSide, fontMetrics().height()) + 4;
    return {padding + iconSide + gap + fontMetrics().horizontalAdvance(text()) + padding, height};
}

QSize SidebarEntry::minimumSizeHint() const {
    return {padding + iconSide + gap + padding, sizeHint().height()};
}

void SidebarEntry::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    if (isChecked()) {
        const auto group = window()->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
        const QColor highlight = colours.color(group, QPalette::Highlight);
        fillRoundedBox(painter, QRectF(rect()).adjusted(1, 1, -1, -1), 4, highlight,
                       sidebar_.hasFocus() ? highlight.darker(150) : Qt::transparent, 2);
        painter.setPen(colours.color(group, QPalette::HighlightedText));
    } else {
        painter.setPen(colours.color(QPalette::Text));
    }
    const QRect iconArea(padding, (height() - iconSide) / 2, iconSide, iconSide);
    if (!icon().isNull())
        icon().paint(&painter, iconArea);
    const QRect textArea(iconArea.right() + 1 + gap, 0, width() - iconArea.right() - 1 - gap - padding,
                         height());
    painter.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textArea.width()));
}

Sidebar::Sidebar(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    auto* content = new QWidget;
    content->setBackgroundRole(QPalette::Base);
    content->setAutoFillBackground(true);
    column_ = new QVBoxLayout(content);
    column_->setContentsMargins(2, 2, 2, 2);
    column_->setSpacing(2);
    column_->addStretch(1);
    setWidget(content);
}

SidebarEntry* Sidebar::entry(int row) const {
    return row >= 0 && row < count() ? entries_[static_cast<std::size_t>(row)] : nullptr;
}

int Sidebar::row(const SidebarEntry* entry) const {
    const auto found = std::find(entries_.begin(), entries_.end(), entry);
    return entry && found != entries_.end() ? static_cast<int>(found - entries_.begin()) : -1;
}

SidebarEntry* Sidebar::insertEntry(int row, const QIcon& icon, const QString& title,
                                   int destination) {
    if (row < 0 || row > count())
        row = count();
    auto* entry = new SidebarEntry(icon, title, destination, *this);
    entries_.insert(entries_.begin() + row, entry);
    column_->insertWidget(row, entry);
    connect(entry, &QAbstractButton::clicked, this, [this, entry] { setCurrentEntry(entry); });
    return entry;
}

void Sidebar::removeEntry(SidebarEntry* entry) {
    const int at = row(entry);
    if (at < 0)
        return;
    entries_.erase(entries_.begin() + at);
    column_->removeWidget(entry);
    entry->hide();
    entry->deleteLater();
    if (current_ == entry) {
        current_ = nullptr;
        tell();
    }
}

void Sidebar::setCurrentEntry(SidebarEntry* entry) {
    if (entry == current_ || (entry && row(entry) < 0))
        return;
    if (current_)
        current_->setChecked(false);
    current_ = entry;
    if (current_) {
        current_->setChecked(true);
        ensureWidgetVisible(current_, 0, 0);
    }
    tell();
}

void Sidebar::tell() {
    if (changed_ && !signalsBlocked())
        changed_(current_);
}

void Sidebar::focusInEvent(QFocusEvent* event) {
    QScrollArea::focusInEvent(event);
    if (current_)
        current_->update();
}

void Sidebar::focusOutEvent(QFocusEvent* event) {
    QScrollArea::focusOutEvent(event);
    if (current_)
        current_->update();
}

void Sidebar::keyPressEvent(QKeyEvent* event) {
    const int at = currentRow();
    int next = -1;
    switch (event->key()) {
        case Qt::Key_Up:
            next = std::max(at - 1, 0);
            break;
        case Qt::Key_Down:
            next = std::min(at + 1, count() - 1);
            break;
        case Qt::Key_Home:
            next = 0;
            break;
        case Qt::Key_End:
            next = count() - 1;
            break;
        default:
            QScrollArea::keyPressEvent(event);
            return;
    }
    setCurrentRow(next);
    event->accept();
}

}  // namespace quorvane::ui

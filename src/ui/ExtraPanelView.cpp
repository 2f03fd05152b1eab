#include "ui/ExtraPanelView.hpp"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/EmojiImages.hpp"

namespace quorvane::ui {

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

}  // namespace

ExtraPanelView::ExtraPanelView(core::ExtraPanel panel, int columns, QWidget* parent)
    : QWidget(parent), panel_(std::move(panel)), columns_(std::max(1, columns)) {
    setObjectName("ExtraPanel");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(60, 0, 10, 8);
    rebuild();
    if (panel_.observe)
        // Later, on the main queue's turn: the change may come from a
        // button of the content being replaced.
        changed_ = panel_.observe([this] { QMetaObject::invokeMethod(this, [this] { rebuild(); }, Qt::QueuedConnection); });
}

void ExtraPanelView::rebuild() {
    // A button chosen from the keyboard keeps the focus across the rebuild
    // its choice brings about.
    QString focused;
    if (content_)
        if (auto* button = qobject_cast<QToolButton*>(QApplication::focusWidget());
            button && content_->isAncestorOf(button))
            focused = button->objectName();
    if (content_) {
        content_->hide();
        content_->deleteLater();
    }
    content_ = new QWidget(this);
    grid_ = new QGridLayout(content_);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(6);
    const auto items = panel_.items ? panel_.items() : std::vector<core::ExtraPanel::Item>{};
    int index = 0;
    for (const auto& item : items) {
        auto* button = new QToolButton(content_);
        button->setText(text(item.title));
        if (!item.icon.empty())
            button->setIcon(QIcon(EmojiImages::image(text(item.icon), 18)));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setCheckable(true);
        button->setChecked(item.marked);
        button->setIconSize(QSize(18, 18));
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        if (item.marked) {
            QFont bold = button->font();
            bold.setBold(true);
            button->setFont(bold);
        }
        button->setAccessibleName(text(item.title));
        button->setObjectName(text(item.id));
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QToolButton::clicked, this, [this, id = item.id, button, marked = item.marked] {
            // The mark follows the system, not the click.
            button->setChecked(marked);
            if (panel_.choose)
                panel_.choose(id);
        });
        if (!item.actions.empty() && panel_.act) {
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this,
                    [this, button, id = item.id, actions = item.actions](const QPoint& at) {
                        QMenu menu;
                        for (const auto& action : actions)
                            menu.addAction(text(action.title), [this, id, name = action.name] { panel_.act(id, name); });
                        menu.exec(button->mapToGlobal(at));
                    });
        }
        grid_->addWidget(button, index / columns_, index % columns_, Qt::AlignLeft);
        ++index;
    }
    grid_->setColumnStretch(columns_, 1);
    if (items.empty() && !panel_.emptyText.empty()) {
        auto* note = new QLabel(text(panel_.emptyText), content_);
        note->setObjectName("EmptyListNote");
        note->setWordWrap(true);
        note->setForegroundRole(QPalette::PlaceholderText);
        grid_->addWidget(note, 0, 0, 1, columns_ + 1);
    }
    layout()->addWidget(content_);
    if (!focused.isEmpty())
        if (auto* button = content_->findChild<QToolButton*>(focused))
            button->setFocus(Qt::OtherFocusReason);
}

}  // namespace quorvane::ui

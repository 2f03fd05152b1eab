#include "ui/scripts/EmojiPicker.hpp"

#include <QGridLayout>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>
#include <QWidgetAction>

#include "ui/EmojiImages.hpp"

namespace quorvane::ui {

namespace {

const QStringList& commonEmoji() {
    static const QStringList list = {
        "💎", "🚀",    "🛸", "⚡️", "🔥",    "⭐️", "🌙",      "☀️", "🌈",    "🍀",
        "🎯", "🎲",    "🧪", "🧰",   "🔧",    "🔨",      "⚙️", "🔒",      "🔑",    "📦",
        "📁", "🗂", "📄",    "📝",      "📋",    "📎",      "🔍",      "🔊",      "🔇",    "🎵",
        "📷", "🖥", "💻",    "⌨️", "🖱", "📱",      "🌐",      "📡",      "🛰", "☁️",
        "🐳", "🐍",    "🦀", "🐙",      "🤖", "👾",      "🧹",   "🗑",
    };
    return list;
}

}  // namespace

EmojiPicker::EmojiPicker(const QString& emoji, QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(this);
    auto* grid = new QWidget(menu);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    const int columns = 8;
    for (int i = 0; i < commonEmoji().size(); ++i) {
        auto* button = new QToolButton(grid);
        button->setAutoRaise(true);
        button->setIcon(QIcon(EmojiImages::image(commonEmoji()[i], 22)));
        button->setIconSize(QSize(22, 22));
        button->setToolTip(commonEmoji()[i]);
        connect(button, &QToolButton::clicked, this, [this, menu, i] {
            menu->close();
            choose(commonEmoji()[i]);
        });
        layout->addWidget(button, i / columns, i % columns);
    }
    auto* other = new QLineEdit(grid);
    other->setPlaceholderText(tr("Or type any emoji"));
    connect(other, &QLineEdit::returnPressed, this, [this, menu, other] {
        if (other->text().trimmed().isEmpty())
            return;
        menu->close();
        choose(other->text().trimmed());
    });
    layout->addWidget(other, layout->rowCount(), 0, 1, columns);
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(grid);
    menu->addAction(action);
    setMenu(menu);
    emoji_ = emoji;
    setIcon(QIcon(EmojiImages::image(emoji_, 22)));
    setIconSize(QSize(22, 22));
}

void EmojiPicker::choose(const QString& emoji) {
    emoji_ = emoji;
    setIcon(QIcon(EmojiImages::image(emoji_, 22)));
    if (chosen)
        chosen(emoji_);
}

}  // namespace quorvane::ui

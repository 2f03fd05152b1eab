#include "ui/scripts/EmojiPicker.hpp"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <numeric>

#include "ui/EmojiImages.hpp"
#include "ui/text/EmojiPickerPopover.hpp"

namespace quorvane::ui {

namespace {

EmojiPicker::Source& source() {
    static EmojiPicker::Source shared;
    return shared;
}

}  // namespace

void EmojiPicker::setSource(Source chosenSource) {
    source() = std::move(chosenSource);
}

EmojiPicker::EmojiPicker(const QString& emoji, QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(this);
    auto* content = new QWidget(menu);
    content->setFixedSize(340, 300);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(6, 6, 6, 6);
    auto* field = new QLineEdit(content);
    field->setPlaceholderText(tr("Search, or type any emoji"));
    column->addWidget(field);
    grid_ = new EmojiGrid(content);
    grid_->searchedBy(field);
    column->addWidget(grid_, 1);
    grid_->picked = [this, menu](std::size_t position) {
        if (!index_ || position >= shown_.size())
            return;
        menu->close();
        choose(QString::fromStdString(index_->table()[shown_[position]].emoji));
    };
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { fill(text); });
    connect(field, &QLineEdit::returnPressed, this, [this, menu, field] {
        const QString typed = field->text().trimmed();
        if (typed.isEmpty())
            return;
        menu->close();
        // The first match of a search, else what was typed.
        choose(!shown_.empty() && index_ ? QString::fromStdString(index_->table()[shown_.front()].emoji)
                                         : typed);
    });
    connect(menu, &QMenu::aboutToShow, this, [this, field] {
        field->clear();
        fill({});
        field->setFocus();
    });
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(content);
    menu->addAction(action);
    setMenu(menu);
    emoji_ = emoji;
    setIcon(QIcon(EmojiImages::image(emoji_, 22)));
    setIconSize(QSize(22, 22));
}

void EmojiPicker::fill(const QString& search) {
    search_ = search;
    if ((!index_ || index_->empty()) && source()) {
        // The grid fills in when the table arrives, the menu open or not.
        QPointer<EmojiPicker> alive(this);
        source()([alive](std::shared_ptr<const text::EmojiIndex> index) {
            if (!alive || !index || index->empty() || (alive->index_ && !alive->index_->empty()))
                return;
            alive->index_ = std::move(index);
            alive->fill(alive->search_);
        });
    }
    if (!index_)
        index_ = std::make_shared<const text::EmojiIndex>();
    if (search.trimmed().isEmpty()) {
        shown_.resize(index_->table().size());
        std::iota(shown_.begin(), shown_.end(), std::size_t{0});
    } else {
        shown_ = index_->searchMatches(search.trimmed().toStdString());
    }
    grid_->setEmojis(index_, shown_);
}

void EmojiPicker::choose(const QString& emoji) {
    emoji_ = emoji;
    setIcon(QIcon(EmojiImages::image(emoji_, 22)));
    if (chosen)
        chosen(emoji_);
}

}  // namespace quorvane::ui

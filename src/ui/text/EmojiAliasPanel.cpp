#include "ui/text/EmojiAliasPanel.hpp"

#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <cmath>

#include "adapters/qt/QtScreens.hpp"
#include "ui/EmojiImages.hpp"
#include "ui/Looks.hpp"
#include "ui/Symbols.hpp"

namespace quorvane::ui {

namespace {

constexpr int rowHeight = 30;
constexpr int emojiSize = 20;

QString aliasesOf(const text::Emoji& emoji) {
    QStringList words;
    if (emoji.aliases)
        for (const auto& alias : *emoji.aliases)
            words << QString::fromStdString(alias);
    return words.join(QLatin1Char(' '));
}

// A row: the emoji drawn in colour, then its aliases, on the selection
// colour when selected.
class MatchDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), rowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        const QRect row = option.rect.adjusted(4, 1, -4, -1);
        if (selected) {
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(option.palette.color(QPalette::Highlight));
            painter->drawRoundedRect(row, 5, 5);
        }
        const QPixmap emoji = EmojiImages::image(index.data(EmojiMatchModel::emojiRole).toString(),
                                                 emojiSize);
        painter->drawPixmap(row.left() + 6, row.top() + (row.height() - emojiSize) / 2, emoji);
        const QRect words = row.adjusted(6 + emojiSize + 8, 0, -6, 0);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(words, Qt::AlignVCenter | Qt::AlignLeft,
                          option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                        Qt::ElideRight, words.width()));
        painter->restore();
    }
};

}  // namespace

void EmojiMatchModel::setMatches(std::shared_ptr<const text::EmojiIndex> index,
                                 std::vector<std::size_t> matches) {
    beginResetModel();
    index_ = std::move(index);
    matches_ = std::move(matches);
    endResetModel();
}

bool EmojiMatchModel::holds(const std::shared_ptr<const text::EmojiIndex>& index,
                            const std::vector<std::size_t>& matches) const {
    return index_ == index && matches_ == matches;
}

int EmojiMatchModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(matches_.size());
}

QVariant EmojiMatchModel::data(const QModelIndex& index, int role) const {
    if (!index_ || !index.isValid() || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= matches_.size())
        return {};
    const auto& emoji = index_->table()[matches_[static_cast<std::size_t>(index.row())]];
    switch (role) {
        case Qt::DisplayRole:
            return aliasesOf(emoji);
        case emojiRole:
            return QString::fromStdString(emoji.emoji);
        case Qt::ToolTipRole:
            return QString::fromStdString(emoji.description);
        case Qt::AccessibleTextRole:
            return QString::fromStdString(emoji.description) + QStringLiteral(": ") + aliasesOf(emoji);
        default:
            return {};
    }
}

EmojiAliasPanel::EmojiAliasPanel()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Quorvane"));
    setFixedSize(static_cast<int>(panelSize.width), static_cast<int>(panelSize.height));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    list_ = new QListView(this);
    list_->setModel(&model_);
    list_->setItemDelegate(new MatchDelegate(list_));
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->viewport()->setAutoFillBackground(false);
    list_->setAccessibleName(tr("Matching emoji"));
    column->addWidget(list_);
    QObject::connect(list_, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (picked && index.isValid())
            picked(static_cast<std::size_t>(index.row()));
    });

    // "No emojis found", under a magnifying glass, in the secondary colour.
    empty_ = new QWidget(this);
    auto* emptyColumn = new QVBoxLayout(empty_);
    emptyColumn->setSpacing(8);
    emptyColumn->addStretch(1);
    auto* symbol = new QLabel(empty_);
    symbol->setAlignment(Qt::AlignCenter);
    symbol->setPixmap(symbolPixmap("magnifyingglass", 28, secondaryText(palette()), devicePixelRatioF()));
    auto* caption = new QLabel(tr("No emojis found"), empty_);
    caption->setAlignment(Qt::AlignCenter);
    QPalette muted = caption->palette();
    muted.setColor(QPalette::WindowText, secondaryText(palette()));
    caption->setPalette(muted);
    emptyColumn->addWidget(symbol);
    emptyColumn->addWidget(caption);
    emptyColumn->addStretch(1);
    column->addWidget(empty_);
    empty_->hide();
}

void EmojiAliasPanel::present(platform::Rect frame) {
    const platform::Rect primary = platform::qt::QtScreens::primaryRootFrame();
    move(static_cast<int>(std::lround(primary.origin.x + frame.origin.x)),
         static_cast<int>(std::lround(primary.origin.y + primary.size.height - frame.maxY())));
    show();
    raise();
}

void EmojiAliasPanel::withdraw() {
    hide();
}

void EmojiAliasPanel::setMatches(std::shared_ptr<const text::EmojiIndex> index,
                                 std::vector<std::size_t> matches,
                                 std::optional<std::size_t> selected) {
    const bool none = matches.empty();
    // A new list resets the model; a new selection alone does not.
    if (!model_.holds(index, matches))
        model_.setMatches(std::move(index), std::move(matches));
    list_->setVisible(!none);
    empty_->setVisible(none);
    if (selected) {
        const auto row = model_.index(static_cast<int>(*selected));
        list_->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
        list_->scrollTo(row);
    } else {
        list_->clearSelection();
    }
}

void EmojiAliasPanel::paintEvent(QPaintEvent*) {
    // A card in the base colour with a hairline edge; square, since without
    // a compositing manager rounded corners would show black.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quorvane::ui

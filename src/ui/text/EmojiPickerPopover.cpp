#include "ui/text/EmojiPickerPopover.hpp"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "adapters/qt/QtScreens.hpp"
#include "ui/EmojiImages.hpp"
#include "ui/Looks.hpp"
#include "ui/Popover.hpp"

namespace quorvane::ui {

namespace {

constexpr int emojiRole = Qt::UserRole + 1;

// The symbol of each category's cell.
const char* categorySymbol(text::EmojiCategory category) {
    switch (category) {
        case text::EmojiCategory::recent: return "\U0001F552";
        case text::EmojiCategory::smileysEmotion: return "\U0001F600";
        case text::EmojiCategory::peopleBody: return "\U0001F44B";
        case text::EmojiCategory::animalsNature: return "\U0001F43B";
        case text::EmojiCategory::foodDrink: return "\U0001F354";
        case text::EmojiCategory::travelPlaces: return "\u2708\uFE0F";
        case text::EmojiCategory::activities: return "\u26BD";
        case text::EmojiCategory::objects: return "\U0001F4A1";
        case text::EmojiCategory::symbols: return "\U0001F523";
        case text::EmojiCategory::flags: return "\U0001F3F3\uFE0F";
    }
    return "";
}

// A cell: the emoji centred, on the selection colour when hovered or chosen.
class CellDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {EmojiGridModel::cellSize, EmojiGridModel::cellSize};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (option.state & (QStyle::State_MouseOver | QStyle::State_Selected)) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            QColor hover = option.palette.color(QPalette::Highlight);
            hover.setAlpha(option.state & QStyle::State_Selected ? 255 : 70);
            painter->setBrush(hover);
            painter->drawRoundedRect(QRectF(option.rect).adjusted(1, 1, -1, -1), 6, 6);
            painter->restore();
        }
        const int size = EmojiGridModel::emojiSize;
        const QPixmap emoji = EmojiImages::image(index.data(emojiRole).toString(), size);
        painter->drawPixmap(option.rect.x() + (option.rect.width() - size) / 2,
                            option.rect.y() + (option.rect.height() - size) / 2, emoji);
    }
};

}  // namespace

void EmojiGridModel::setEmojis(std::shared_ptr<const text::EmojiIndex> index,
                               std::vector<std::size_t> shown) {
    beginResetModel();
    index_ = std::move(index);
    shown_ = std::move(shown);
    endResetModel();
}

int EmojiGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant EmojiGridModel::data(const QModelIndex& index, int role) const {
    if (!index_ || !index.isValid() || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= shown_.size())
        return {};
    const auto& emoji = index_->table()[shown_[static_cast<std::size_t>(index.row())]];
    switch (role) {
        case emojiRole:
            return QString::fromStdString(emoji.emoji);
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return QString::fromStdString(emoji.description);
        default:
            return {};
    }
}

EmojiGrid::EmojiGrid(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    view_ = new QListView(this);
    view_->setViewMode(QListView::IconMode);
    view_->setMovement(QListView::Static);
    view_->setResizeMode(QListView::Adjust);
    view_->setUniformItemSizes(true);
    view_->setGridSize(QSize(EmojiGridModel::cellSize, EmojiGridModel::cellSize));
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setMouseTracking(true);
    view_->setFrameShape(QFrame::NoFrame);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->setItemDelegate(new CellDelegate(view_));
    view_->setModel(&model_);
    view_->setAccessibleName(tr("Emoji"));
    column->addWidget(view_);
    // Return on a cell activates it, and so does a click where the style
    // says so; elsewhere a click picks too, never both.
    auto pick = [this](const QModelIndex& index) {
        if (picked && index.isValid())
            picked(static_cast<std::size_t>(index.row()));
    };
    QObject::connect(view_, &QListView::activated, this, pick);
    if (!view_->style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick, nullptr, view_))
        QObject::connect(view_, &QListView::clicked, this, pick);
    QObject::connect(view_, &QListView::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = view_->indexAt(at);
        if (!index.isValid())
            return;
        QMenu menu(this);
        menu.addAction(tr("Copy"), this, [this, row = index.row()] {
            if (copied)
                copied(static_cast<std::size_t>(row));
        });
        menu.exec(view_->viewport()->mapToGlobal(at));
    });
}

void EmojiGrid::searchedBy(QLineEdit* field) {
    field_ = field;
    field->installEventFilter(this);
}

bool EmojiGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        const QModelIndex first = model_.index(0, 0);
        if (first.isValid()) {
            view_->setFocus();
            view_->setCurrentIndex(first);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EmojiGrid::setEmojis(std::shared_ptr<const text::EmojiIndex> index, std::vector<std::size_t> shown) {
    model_.setEmojis(std::move(index), std::move(shown));
}

EmojiPickerPopover::EmojiPickerPopover() : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint) {
    setFixedSize(static_cast<int>(popoverSize.width), static_cast<int>(popoverSize.height));
    setWindowTitle(QStringLiteral("Emoji Picker"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 8);
    column->setSpacing(6);
    search_ = new QLineEdit(this);
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    column->addWidget(search_);
    QObject::connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (searchChanged)
            searchChanged(text.toStdString());
    });
    search_->installEventFilter(this);

    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    categories_ = new QButtonGroup(this);
    categories_->setExclusive(true);
    for (auto category : text::allEmojiCategories) {
        auto* button = new QToolButton(this);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(EmojiImages::image(QString::fromUtf8(categorySymbol(category)), 20));
        button->setIconSize(QSize(20, 20));
        button->setToolTip(QString::fromUtf8(text::displayName(category).data(),
                                             static_cast<qsizetype>(text::displayName(category).size())));
        button->setAccessibleName(button->toolTip());
        categories_->addButton(button, static_cast<int>(category));
        row->addWidget(button);
    }
    row->addStretch(1);
    column->addLayout(row);
    QObject::connect(categories_, &QButtonGroup::idClicked, this, [this](int id) {
        if (categoryChosen)
            categoryChosen(static_cast<text::EmojiCategory>(id));
    });

    grid_ = new EmojiGrid(this);
    grid_->searchedBy(search_);
    column->addWidget(grid_, 1);
    empty_ = new QLabel(this);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    QPalette quiet = empty_->palette();
    quiet.setColor(QPalette::WindowText, secondaryText(palette()));
    empty_->setPalette(quiet);
    column->addWidget(empty_, 1);
    empty_->hide();
    grid_->picked = [this](std::size_t position) {
        if (picked)
            picked(position);
    };
    grid_->copied = [this](std::size_t position) {
        if (copied)
            copied(position);
    };

    auto* credit = new QLabel(tr("by Quorvane"), this);
    credit->setAlignment(Qt::AlignRight);
    QPalette muted = credit->palette();
    muted.setColor(QPalette::WindowText, secondaryText(palette()));
    credit->setPalette(muted);
    column->addWidget(credit);

    toast_ = new QLabel(this);
    toast_->setAlignment(Qt::AlignCenter);
    toast_->setAutoFillBackground(true);
    QPalette dark = toast_->palette();
    dark.setColor(QPalette::Window, QColor(0, 0, 0, 200));
    dark.setColor(QPalette::WindowText, Qt::white);
    toast_->setPalette(dark);
    toast_->hide();
    toastTimer_ = new QTimer(this);
    toastTimer_->setSingleShot(true);
    toastTimer_->setInterval(1200);
    QObject::connect(toastTimer_, &QTimer::timeout, toast_, &QLabel::hide);
}

bool EmojiPickerPopover::eventFilter(QObject* watched, QEvent* event) {
    // Return in the search field picks the first emoji shown.
    if (watched == search_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            grid_->view()->model()->rowCount() > 0) {
            if (picked)
                picked(0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QToolButton* EmojiPickerPopover::categoryButton(text::EmojiCategory category) const {
    return qobject_cast<QToolButton*>(categories_->button(static_cast<int>(category)));
}

void EmojiPickerPopover::present(platform::Rect anchor) {
    // Hung below the item, inside the screen that holds it.
    const platform::Rect root = platform::qt::QtScreens::primaryRootFrame();
    const QPoint below(static_cast<int>(std::lround(root.origin.x + anchor.origin.x + anchor.size.width / 2)),
                       static_cast<int>(std::lround(root.origin.y + root.size.height - anchor.origin.y)) + 4);
    const QScreen* screen = QGuiApplication::screenAt(below);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    move(screen ? Popover::placement(below, size(), screen->availableGeometry()).topLeft() : below);
    // Each opening starts afresh: no search left from the last one.
    {
        const QSignalBlocker quiet(search_);
        search_->clear();
    }
    show();
    raise();
    activateWindow();
    search_->setFocus();
}

void EmojiPickerPopover::keyPressEvent(QKeyEvent* event) {
    // Escape closes it, from the search field or the grid alike.
    if (event->key() == Qt::Key_Escape) {
        withdraw();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EmojiPickerPopover::withdraw() {
    hide();
}

void EmojiPickerPopover::setEmojis(std::shared_ptr<const text::EmojiIndex> index,
                                   std::vector<std::size_t> shown, text::EmojiCategory category) {
    const bool none = shown.empty();
    grid_->setEmojis(std::move(index), std::move(shown));
    if (auto* button = categoryButton(category))
        button->setChecked(true);
    if (none) {
        const QString search = search_->text().trimmed();
        empty_->setText(!search.isEmpty()
                            ? tr("No emoji match \u201c%1\u201d").arg(search)
                        : category == text::EmojiCategory::recent
                            ? tr("Emoji you pick will show here.")
                            : tr("No emoji"));
    }
    grid_->setVisible(!none);
    empty_->setVisible(none);
}

void EmojiPickerPopover::showToast(const std::string& text) {
    toast_->setText(QString::fromStdString(text));
    toast_->adjustSize();
    toast_->resize(toast_->width() + 24, toast_->height() + 12);
    toast_->move((width() - toast_->width()) / 2, (height() - toast_->height()) / 2);
    toast_->raise();
    toast_->show();
    toastTimer_->start();
}

}  // namespace quorvane::ui

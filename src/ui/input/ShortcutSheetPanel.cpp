#include "ui/input/ShortcutSheetPanel.hpp"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <cmath>

#include "adapters/qt/QtScreens.hpp"
#include "ui/Looks.hpp"

namespace quorvane::ui {

namespace {

constexpr int rowHeight = 44;
constexpr int starSize = 16;
constexpr int badgeHeight = 22;

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A five-pointed star in `box`, filled or outlined.
void paintStar(QPainter& painter, const QRectF& box, bool filled, const QColor& colour) {
    QPainterPath star;
    const QPointF centre = box.center();
    const double outer = box.width() / 2;
    const double inner = outer * 0.45;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = M_PI / 2 + i * M_PI / 5;
        const QPointF point(centre.x() + radius * std::cos(angle), centre.y() - radius * std::sin(angle));
        i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(filled ? QBrush(colour) : Qt::NoBrush);
    painter.drawPath(star);
}

class RowDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), rowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        const QRect row = option.rect.adjusted(4, 1, -4, -1);
        if (selected) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(palette.color(QPalette::Highlight));
            painter->drawRoundedRect(row, 6, 6);
        }
        const QColor primary = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QColor secondary = selected ? primary : secondaryText(palette);
        const bool favorite = index.data(ShortcutRowModel::favoriteRole).toBool();
        const QColor starColour = favorite && !selected ? QColor(0xF5, 0xB0, 0x1A) : secondary;
        paintStar(*painter, ShortcutSheetPanel::starRect(option.rect), favorite, starColour);

        // The badges, right to left.
        const QStringList symbols = index.data(ShortcutRowModel::symbolsRole).toStringList();
        QFont badgeFont = option.font;
        badgeFont.setPointSizeF(option.font.pointSizeF() * 0.95);
        const QFontMetrics badgeMetrics(badgeFont);
        painter->setFont(badgeFont);
        int right = row.right() - 8;
        for (auto symbol = symbols.crbegin(); symbol != symbols.crend(); ++symbol) {
            const int width = std::max(badgeHeight, badgeMetrics.horizontalAdvance(*symbol) + 12);
            const QRect badge(right - width, row.center().y() - badgeHeight / 2, width, badgeHeight);
            painter->setPen(QPen(secondary, 1));
            painter->setBrush(selected ? QColor(255, 255, 255, 40) : palette.color(QPalette::AlternateBase));
            painter->drawRoundedRect(QRectF(badge).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
            painter->setPen(primary);
            painter->drawText(badge, Qt::AlignCenter, *symbol);
            right -= width + 4;
        }

        // The name over its path.
        const int left = ShortcutSheetPanel::starRect(option.rect).right() + 10;
        const QRect words(left, row.top() + 4, std::max(0, right - left - 8), row.height() - 8);
        QFont nameFont = option.font;
        painter->setFont(nameFont);
        painter->setPen(primary);
        const QFontMetrics nameMetrics(nameFont);
        painter->drawText(QRect(words.left(), words.top(), words.width(), words.height() / 2),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          nameMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                 Qt::ElideRight, words.width()));
        QFont pathFont = option.font;
        pathFont.setPointSizeF(option.font.pointSizeF() * 0.85);
        painter->setFont(pathFont);
        painter->setPen(secondary);
        painter->drawText(QRect(words.left(), words.center().y(), words.width(), words.height() / 2),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(pathFont).elidedText(
                              index.data(ShortcutRowModel::pathRole).toString(), Qt::ElideRight,
                              words.width()));
        painter->restore();
    }
};

}  // namespace

void ShortcutRowModel::setRows(const input::ShortcutSheetState& state) {
    const bool same = info_ == state.info && rows_.size() == state.rows.size() &&
                      std::equal(rows_.begin(), rows_.end(), state.rows.begin(),
                                 [](const input::ShortcutRow& a, const input::ShortcutRow& b) {
                                     return a.key == b.key && a.favorite == b.favorite;
                                 });
    if (same)
        return;
    beginResetModel();
    info_ = state.info;
    rows_ = state.rows;
    endResetModel();
}

int ShortcutRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ShortcutRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= rows_.size())
        return {};
    const auto& row = rows_[static_cast<std::size_t>(index.row())];
    const auto& key = *row.key;
    switch (role) {
        case Qt::DisplayRole:
            return text(key.name);
        case pathRole:
            return text(input::joinedPath(key));
        case symbolsRole: {
            QStringList symbols;
            for (const auto& part : key.parts)
                symbols << text(part.symbol);
            return symbols;
        }
        case favoriteRole:
            return row.favorite;
        case Qt::AccessibleTextRole: {
            QStringList spoken;
            for (const auto& part : key.parts)
                spoken << text(part.spelling);
            return text(key.name) + QStringLiteral(", ") + text(input::joinedPath(key)) +
                   QStringLiteral(", ") + spoken.join(QLatin1Char(' ')) +
                   (row.favorite ? QStringLiteral(", favourite") : QString());
        }
        default:
            return {};
    }
}

ShortcutSheetPanel::ShortcutSheetPanel(input::ShortcutSheetController& controller)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      controller_(controller) {
    setWindowTitle(tr("Keyboard Shortcuts"));
    setFixedSize(static_cast<int>(panelSize.width), static_cast<int>(panelSize.height));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 10);
    column->setSpacing(8);

    auto* header = new QHBoxLayout;
    title_ = new QLabel(this);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    title_->setFont(titleFont);
    count_ = new QLabel(this);
    tint(count_, secondaryText(palette()));
    header->addWidget(title_);
    header->addStretch(1);
    header->addWidget(count_);
    column->addLayout(header);

    search_ = new QLineEdit(this);
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    search_->setAccessibleName(tr("Search"));
    column->addWidget(search_);
    QObject::connect(search_, &QLineEdit::textChanged, this, [this](const QString& typed) {
        if (!updating_)
            controller_.setSearchText(typed.toStdString());
    });

    list_ = new QListView(this);
    list_->setModel(&model_);
    list_->setItemDelegate(new RowDelegate(list_));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAccessibleName(tr("Keyboard shortcuts"));
    list_->viewport()->installEventFilter(this);
    column->addWidget(list_, 1);
    QObject::connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     [this](const QModelIndex& index) {
                         if (!updating_ && index.isValid())
                             controller_.select(static_cast<std::size_t>(index.row()));
                     });
    QObject::connect(list_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            controller_.performRow(static_cast<std::size_t>(index.row()));
    });

    empty_ = new QLabel(this);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    tint(empty_, secondaryText(palette()));
    column->addWidget(empty_, 1);
    empty_->hide();

    // Like a panel on a Mac, it goes when another application comes in front.
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                     [this](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationInactive && isVisible())
                             controller_.dismiss();
                     });

    auto* hint = new QLabel(tr("↑ ↓ choose   ↩ press   ⇥ list or search   ⎋ close"), this);
    hint->setAlignment(Qt::AlignCenter);
    tint(hint, secondaryText(palette()));
    QFont hintFont = hint->font();
    hintFont.setPointSizeF(hintFont.pointSizeF() * 0.85);
    hint->setFont(hintFont);
    column->addWidget(hint);
}

QRect ShortcutSheetPanel::starRect(const QRect& row) {
    return {row.left() + 12, row.center().y() - starSize / 2, starSize, starSize};
}

void ShortcutSheetPanel::present(platform::Rect frame) {
    const platform::Rect primary = platform::qt::QtScreens::primaryRootFrame();
    move(static_cast<int>(std::lround(primary.origin.x + frame.origin.x)),
         static_cast<int>(std::lround(primary.origin.y + primary.size.height - frame.maxY())));
    QWidget::show();
    raise();
    activateWindow();
}

void ShortcutSheetPanel::withdraw() {
    hide();
}

void ShortcutSheetPanel::show(const input::ShortcutSheetState& state) {
    updating_ = true;
    title_->setText(text(state.appName));
    count_->setText(state.isLoading           ? QString()
                    : state.rows.size() == 1 ? tr("1 shortcut")
                                             : tr("%1 shortcuts").arg(state.rows.size()));
    if (search_->text() != text(state.searchText))
        search_->setText(text(state.searchText));
    model_.setRows(state);
    const bool none = state.rows.empty();
    list_->setVisible(!none);
    empty_->setVisible(none);
    if (state.isLoading)
        empty_->setText(tr("Reading the menus of %1…").arg(text(state.appName)));
    else if (!state.searchText.empty())
        empty_->setText(tr("No shortcut matches “%1”").arg(text(state.searchText)));
    else
        empty_->setText(tr("%1 has no keyboard shortcuts in its menus").arg(text(state.appName)));
    if (state.selected) {
        const auto row = model_.index(static_cast<int>(*state.selected));
        list_->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
        list_->scrollTo(row);
    } else {
        list_->clearSelection();
    }
    if (state.focusSearchField)
        search_->setFocus();
    else
        list_->setFocus();
    updating_ = false;
}

void ShortcutSheetPanel::paintEvent(QPaintEvent*) {
    // A card in the window colour with a hairline edge; square, since without
    // a compositing manager rounded corners would show black.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ShortcutSheetPanel::mousePressEvent(QMouseEvent* event) {
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void ShortcutSheetPanel::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - dragOffset_);
}

bool ShortcutSheetPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QModelIndex index = list_->indexAt(press->position().toPoint());
        if (index.isValid() && press->button() == Qt::LeftButton) {
            const auto row = static_cast<std::size_t>(index.row());
            if (starRect(list_->visualRect(index)).adjusted(-6, -6, 6, 6).contains(press->position().toPoint())) {
                controller_.toggleFavorite(row);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quorvane::ui

#include "ui/TweakListView.hpp"

#include <QMenu>
#include <QResizeEvent>
#include <QScrollBar>
#include <utility>

#include "core/HUD.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/Looks.hpp"
#include "ui/Symbols.hpp"
#include "ui/workflows/WorkflowLook.hpp"

namespace quorvane::ui {

TweakListView::TweakListView(core::TweaksHolder& holder, const ListServices& services,
                             QWidget* parent)
    : QScrollArea(parent),
      holder_(holder),
      actions_(services.actions),
      afterAction_(services.afterAction),
      handler_(services.handler),
      workflows_(services.workflows) {
    auto& store = services.store;
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    content_ = new QWidget;
    column_ = new QVBoxLayout(content_);
    column_->setContentsMargins(12, 12, 12, 12);
    column_->setSpacing(6);
    setWidget(content_);

    hud_ = new BoxedLabel({},
                          {.background = QColor(40, 40, 40, 220),
                           .text = Qt::white,
                           .radius = 10,
                           .padding = {18 + hudSymbolSize + 8, 10, 18, 10}},
                          viewport());
    // The label's symbol, drawn left of its title.
    hudSymbol_ = new QLabel(hud_);
    hudSymbol_->setFixedSize(hudSymbolSize, hudSymbolSize);
    hud_->setObjectName("HUD");
    hud_->setAlignment(Qt::AlignCenter);
    QFont bold = hud_->font();
    bold.setBold(true);
    hud_->setFont(bold);
    hud_->hide();
    empty_ = new QLabel(viewport());
    empty_->setObjectName("EmptyState");
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    tint(empty_, secondaryText(empty_->palette()));
    // Sized by placeEmpty() once the view has its own size: a wrapped
    // label laid out before that costs start-up time for nothing.
    empty_->resize(1, 1);
    empty_->hide();

    subscriptions_.push_back(holder_.tweaks.subscribe([this](const auto&) { rebuild(); }));
    subscriptions_.push_back(holder_.showsHUD.subscribe([this](const bool& shown) {
        hud_->setText(hudText());
        hud_->setVisible(shown);
        placeHud();
    }));
    subscriptions_.push_back(holder_.hudStyle.subscribe([this](const core::HUD&) {
        hud_->setText(hudText());
        placeHud();
    }));
    subscriptions_.push_back(store.mState.subscribe([this](const auto&) { updateStates(); }));
    subscriptions_.push_back(store.pState.subscribe([this](const auto&) { updateStates(); }));
    // Cells are made as the list scrolls towards them: a long list costs at
    // start-up only what fills the window.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { buildMoreIfNearTheEnd(); });
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { buildMoreIfNearTheEnd(); });
    // The first time a tweak is shown, its switch learns the system's real
    // state: after the cells have been drawn, so that starting the commands
    // that read it does not hold up the window.
    content_->installEventFilter(this);
    rebuild();
}

void TweakListView::rebuild() {
    // The same list published again (the group chosen anew, a preference
    // that changes nothing here) keeps its cells: they follow their own
    // states.
    const auto& tweaks = holder_.tweaks.get();
    if (!shown_.empty() && tweaks == shown_)
        return;
    shown_ = tweaks;
    // Another group starts at its top, not where the last one was scrolled
    // to (which would hide its first rows, with nothing to say so).
    if (!shownGroup_ || !(*shownGroup_ == holder_.group.get())) {
        shownGroup_ = holder_.group.get();
        verticalScrollBar()->setValue(0);
    }
    // Hidden now, deleted once control is back in the event loop: the
    // rebuild may come from inside one of these cells' own handlers.
    for (auto* cell : cells_) {
        cell->hide();
        cell->deleteLater();
    }
    cells_.clear();
    while (auto* item = column_->takeAt(0))
        delete item;
    column_->addStretch(1);
    pending_.assign(tweaks.begin(), tweaks.end());
    buildMore(firstBatch);
    empty_->setText(tweaks.empty() ? QString::fromStdString(holder_.emptyMessage()) : QString());
    empty_->setVisible(tweaks.empty());
    if (isVisible())
        placeEmpty();
}

void TweakListView::finishBuilding() {
    buildMore(pending_.size());
}

void TweakListView::buildMoreIfNearTheEnd() {
    const auto* bar = verticalScrollBar();
    // Until the list is scrolled it holds what fills the view; from then
    // on a view's worth ahead, so that scrolling finds its cells made.
    const int ahead = bar->value() > 0 ? viewport()->height() : 1;
    if (!pending_.empty() && bar->maximum() - bar->value() < ahead)
        buildMore(laterBatch);
}

void TweakListView::buildMore(std::size_t count) {
    TweakCell::Actions cellActions{
        [this](const std::shared_ptr<core::Tweak>& tweak, bool on) {
            actions_.switchToggle(tweak, on);
            if (afterAction_)
                afterAction_(tweak);
        },
        [this](const std::shared_ptr<core::Tweak>& tweak) {
            actions_.runOneShot(tweak);
            if (afterAction_)
                afterAction_(tweak);
        },
        [this](const std::shared_ptr<core::Tweak>& tweak, const QPoint& at) {
            showMenu(tweak, at);
        },
        [this](const std::shared_ptr<core::Tweak>& tweak) {
            auto* info = new InfoDialog(*tweak, this);
            info->setAttribute(Qt::WA_DeleteOnClose);
            info->open();
        }};
    count = std::min(count, pending_.size());
    for (std::size_t i = 0; i < count; ++i) {
        const auto& tweak = pending_[i];
        auto* cell = new TweakCell(tweak, cellActions, holder_.place == core::TweaksPlace::compact,
                                   content_);
        // Before the closing stretch.
        column_->insertWidget(column_->count() - 1, cell);
        cells_.push_back(cell);
        unrefreshed_.push_back(tweak);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
}

bool TweakListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && event->type() == QEvent::Paint && !unrefreshed_.empty() &&
        !refreshPosted_) {
        refreshPosted_ = true;
        QMetaObject::invokeMethod(this, [this] { refreshShown(); }, Qt::QueuedConnection);
    }
    return QScrollArea::eventFilter(watched, event);
}

void TweakListView::refreshShown() {
    refreshPosted_ = false;
    // Taken first: a refresh may publish a state that makes more cells.
    const auto tweaks = std::exchange(unrefreshed_, {});
    for (const auto& tweak : tweaks)
        handler_.refreshIfNeeded(*tweak);
}

void TweakListView::updateStates() {
    for (auto* cell : cells_)
        cell->updateState();
}

void TweakListView::showMenu(const std::shared_ptr<core::Tweak>& tweak, const QPoint& position) {
    QMenu menu(this);
    fillMenu(menu, tweak);
    menu.exec(position);
}

void TweakListView::fillMenu(QMenu& menu, const std::shared_ptr<core::Tweak>& tweak) {
    for (const auto& item : core::contextMenuItems(*tweak, holder_.place)) {
        const auto action = item.action;
        menu.addAction(
            QString::fromUtf8(item.title.data(), static_cast<qsizetype>(item.title.size())), this,
            [this, action, tweak] { holder_.handle(action, tweak); });
    }
    if (workflows_ && !workflows_->workflows().empty()) {
        // Choosing a workflow the tweak is in takes it out again.
        auto* submenu = menu.addMenu(tr("Workflow"));
        const auto workflows = workflows_->workflows();  // the menu's actions change them
        for (const auto& workflow : workflows) {
            auto* entry = submenu->addAction(
                workflowIcon(workflow), QString::fromStdString(workflow.name), this,
                [this, tweak, workflow] { workflows_->toggle(*tweak, workflow); });
            entry->setCheckable(true);
            entry->setChecked(workflows_->isMember(*tweak, workflow));
        }
    }
}

QString TweakListView::hudText() const {
    // A message of its own (why a tweak cannot work) wins over the title.
    if (!holder_.hudMessage->empty())
        return QString::fromStdString(holder_.hudMessage.get());
    return QString::fromUtf8(core::hudLabel(holder_.hudStyle.get()).title.data());
}

void TweakListView::placeHud() {
    if (hud_->isHidden())
        return;  // placed when it shows
    const auto symbol = core::hudLabel(holder_.hudStyle.get()).symbol;
    hudSymbol_->setPixmap(symbolPixmap(symbol, hudSymbolSize, Qt::white, devicePixelRatioF()));
    hud_->adjustSize();
    hudSymbol_->move(18, (hud_->height() - hudSymbolSize) / 2);
    const QSize area = viewport()->size();
    hud_->move((area.width() - hud_->width()) / 2, area.height() - hud_->height() - 24);
    hud_->raise();
}

void TweakListView::placeEmpty() {
    if (empty_->isHidden())
        return;  // placed when it shows
    // Centred in what is visible, wrapping within it.
    const QSize area = viewport()->size();
    const int width = std::max(120, std::min(area.width() - 48, 420));
    empty_->setFixedWidth(width);
    empty_->adjustSize();
    empty_->move((area.width() - width) / 2, std::max(0, (area.height() - empty_->height()) / 2));
    empty_->raise();
}

void TweakListView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    placeHud();
    placeEmpty();
}

}  // namespace quorvane::ui

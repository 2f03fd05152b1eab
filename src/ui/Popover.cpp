#include "ui/Popover.hpp"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/workflows/WorkflowLook.hpp"

namespace quorvane::ui {

Popover::Popover(Services services)
    : QWidget(nullptr),
      services_(std::move(services)),
      holder_(core::TweaksPlace::compact, services_.list.catalogue, services_.list.store,
              services_.list.mainQueue, services_.list.notifications) {
    setObjectName("Popover");
    setWindowTitle(QStringLiteral("Quorvane"));
    setFixedSize(width, height);

    list_ = new TweakListView(holder_, services_.list, this);
    empty_ = new QLabel(tr("No workflows yet. You can create workflow in Quorvane settings"), this);
    empty_->setWordWrap(true);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setContentsMargins(24, 0, 24, 0);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(6, 4, 6, 8);
    footer->setSpacing(0);
    auto button = [this, footer](const QString& title, std::function<void()> action) {
        // Tool buttons: flat and as narrow as their titles, so all five fit.
        auto* pressed = new QToolButton(this);
        pressed->setText(title);
        pressed->setAutoRaise(true);
        QFont small = pressed->font();
        small.setPixelSize(12);
        pressed->setFont(small);
        connect(pressed, &QToolButton::clicked, this, [action] {
            if (action)
                action();
        });
        footer->addWidget(pressed, 1);
        return pressed;
    };
    // What opens something else closes the popover first.
    auto closingFirst = [this](std::function<void()> action) {
        return [this, action = std::move(action)] {
            hide();
            if (action)
                action();
        };
    };
    button(tr("Open Quorvane"), closingFirst(services_.openMain));
    button(tr("Settings"), closingFirst(services_.openSettings));
    button(tr("About"), closingFirst(services_.showAbout));
    pin_ = button(QString(), [this] { setPinned(!isPinned()); });
    button(tr("Quit"), services_.quit);

    // The header chooses the workflow shown here.
    workflowMenu_ = new QToolButton(this);
    workflowMenu_->setObjectName("WorkflowMenu");
    workflowMenu_->setPopupMode(QToolButton::InstantPopup);
    workflowMenu_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    workflowMenu_->setAutoRaise(true);
    workflowMenu_->setMenu(new QMenu(workflowMenu_));
    connect(workflowMenu_->menu(), &QMenu::aboutToShow, this, [this] { fillWorkflowMenu(); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(workflowMenu_, 0, Qt::AlignLeft);
    column->addWidget(list_, 1);
    column->addWidget(empty_, 1);
    column->addLayout(footer);

    preferenceWatch_ = services_.list.store.preference.subscribe(
        [this](const core::Preference&) { showWorkflow(); });
    showWorkflow();
    applyPinning();
}

bool Popover::isPinned() const {
    return pinSetting.read(services_.defaults);
}

void Popover::setPinned(bool pinned) {
    pinSetting.write(services_.defaults, pinned);
    applyPinning();
}

void Popover::applyPinning() {
    pin_->setText(isPinned() ? tr("Unpin") : tr("Pin"));
    const bool visible = isVisible();
    const QPoint position = pos();
    // A popup closes by itself on a click outside it; a tool window stays.
    setWindowFlags(isPinned() ? Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                              : Qt::Popup | Qt::FramelessWindowHint);
    if (visible) {
        move(position);
        show();
    }
}

void Popover::showWorkflow() {
    // The workflow chosen for the popover, or the first one.
    // A copy: what follows may change the preference it comes from.
    const auto preference = services_.list.store.preference.get();
    const core::Workflow* shown = nullptr;
    for (const auto& workflow : preference.workflows)
        if (preference.compactWorkflowId && workflow.id == *preference.compactWorkflowId)
            shown = &workflow;
    if (!shown && !preference.workflows.empty())
        shown = &preference.workflows.front();
    list_->setVisible(shown != nullptr);
    empty_->setVisible(shown == nullptr);
    workflowMenu_->setVisible(shown != nullptr);
    if (!shown)
        return;
    workflowMenu_->setIcon(workflowIcon(*shown));
    // The tool button draws the menu's one disclosure arrow itself.
    workflowMenu_->setText(QString::fromStdString(shown->name));
    // The list follows the workflow's members by itself.
    if (holder_.group.get() != core::TweakGroup::workflow(*shown))
        holder_.group.set(core::TweakGroup::workflow(*shown));
}

void Popover::fillWorkflowMenu() {
    auto* menu = workflowMenu_->menu();
    menu->clear();
    const auto group = holder_.group.get();
    const auto* shown = group.workflowValue();
    // A copy: choosing an entry changes the preference the list lives in.
    const auto workflows = services_.list.store.preference->workflows;
    for (const auto& workflow : workflows) {
        auto* entry =
            menu->addAction(workflowIcon(workflow), QString::fromStdString(workflow.name), this,
                            [this, id = workflow.id] {
                                services_.list.store.preference.modify(
                                    [&](core::Preference& p) { p.compactWorkflowId = id; });
                            });
        entry->setCheckable(true);
        entry->setChecked(shown && shown->id == workflow.id);
    }
    if (shown && services_.list.workflows) {
        menu->addSeparator();
        menu->addAction(tr("Run All"), this,
                        [this, workflow = *shown] { services_.list.workflows->runAll(workflow); });
    }
}

QRect Popover::placement(const QPoint& anchor, const QSize& size, const QRect& available) {
    QRect frame(QPoint(anchor.x() - size.width() / 2, anchor.y()), size);
    // Right and bottom first, so that a panel larger than the screen keeps
    // its top left corner, header and all, on screen.
    frame.moveRight(std::min(frame.right(), available.right()));
    frame.moveBottom(std::min(frame.bottom(), available.bottom()));
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    return frame;
}

void Popover::showAt(const QPoint& anchor) {
    const QScreen* screen = QGuiApplication::screenAt(anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    move(screen ? placement(anchor, size(), screen->availableGeometry()).topLeft()
                : QPoint(anchor.x() - width / 2, anchor.y()));
    show();
    raise();
    activateWindow();
}

}  // namespace quorvane::ui

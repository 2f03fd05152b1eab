#include "ui/workflows/WorkflowSettingsTab.hpp"

#include <QApplication>
#include <QGraphicsOpacityEffect>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/workflows/WorkflowIcons.hpp"
#include "ui/RenewedArea.hpp"
#include "ui/workflows/WorkflowLook.hpp"

namespace quorvane::ui {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

}  // namespace

CustomizeWorkflowDialog::CustomizeWorkflowDialog(core::WorkflowService& workflows,
                                                 core::Workflow workflow, QWidget* parent)
    : QDialog(parent), workflows_(workflows), workflow_(std::move(workflow)) {
    setWindowTitle(QString::fromStdString(workflow_.name));
    name_ = new QLineEdit(QString::fromStdString(workflow_.name));
    icon_ = new QComboBox;
    const QColor color = workflowColor(workflow_.colorHex);
    for (const auto& glyph : core::workflowGlyphs) {
        icon_->addItem(glyphIcon(std::string(glyph.name), color), text(glyph.name),
                       text(glyph.name));
        if (glyph.name == workflow_.icon)
            icon_->setCurrentIndex(icon_->count() - 1);
    }
    color_ = new QComboBox;
    for (auto candidate : core::allWorkflowColors) {
        const auto raw = core::rawValue(candidate);
        QPixmap swatch(14, 14);
        swatch.fill(workflowColor(std::string(raw)));
        color_->addItem(QIcon(swatch), text(raw), text(raw));
        if (raw == workflow_.colorHex)
            color_->setCurrentIndex(color_->count() - 1);
    }
    auto* form = new QFormLayout;
    form->addRow(tr("Name"), name_);
    form->addRow(tr("Icon"), icon_);
    form->addRow(tr("Color"), color_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
}

void CustomizeWorkflowDialog::done(int result) {
    const auto name = name_->text().trimmed().toStdString();
    // An emptied name keeps the old one: a sidebar entry needs a title.
    if (!name.empty())
        workflow_.name = name;
    workflow_.icon = icon_->currentData().toString().toStdString();
    workflow_.colorHex = color_->currentData().toString().toStdString();
    workflows_.update(workflow_);
    QDialog::done(result);
}

void HoverRow::revealOnHover(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) {
        // Faded, not hidden: they stay in the Tab order, and show when
        // reached with the keyboard.
        auto* fade = new QGraphicsOpacityEffect(control);
        control->setGraphicsEffect(fade);
        control->installEventFilter(this);
        faded_.push_back(fade);
    }
    reveal(false);
}

void HoverRow::reveal(bool revealed) {
    for (auto* fade : faded_)
        fade->setOpacity(revealed ? 1.0 : 0.0);
}

bool HoverRow::isRevealed() const {
    return !faded_.empty() && faded_.front()->opacity() > 0.5;
}

void HoverRow::enterEvent(QEnterEvent* event) {
    reveal(true);
    QWidget::enterEvent(event);
}

void HoverRow::leaveEvent(QEvent* event) {
    if (!isAncestorOf(QApplication::focusWidget()))
        reveal(false);
    QWidget::leaveEvent(event);
}

bool HoverRow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        reveal(true);
    else if (event->type() == QEvent::FocusOut && !underMouse())
        reveal(false);
    return QWidget::eventFilter(watched, event);
}

WorkflowSettingsTab::WorkflowSettingsTab(core::Store& store, core::WorkflowService& workflows,
                                         QWidget* parent)
    : QWidget(parent), workflows_(workflows) {
    area_ = new RenewedArea;

    auto* add = new QPushButton(tr("New Workflow"));
    connect(add, &QPushButton::clicked, this, [this] { workflows_.add(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area_, 1);
    layout->addWidget(add, 0, Qt::AlignLeft);

    watch_ = store.preference.subscribe([this](const core::Preference& preference) {
        if (preference.workflows != shown_)
            rebuild();
    });
    rebuild();
}

void WorkflowSettingsTab::rebuild() {
    shown_ = workflows_.workflows();
    auto* rowsColumn = area_->renew();
    if (shown_.empty())
        rowsColumn->addWidget(new QLabel(tr("No workflows yet.")));
    for (const auto& workflow : shown_) {
        auto* line = new HoverRow;
        auto* row = new QHBoxLayout(line);
        row->setContentsMargins(4, 2, 4, 2);
        auto* badge = new QLabel;
        badge->setPixmap(workflowIcon(workflow, 18).pixmap(18, 18));
        auto* edit = new QPushButton(tr("Edit"));
        auto* remove = new QPushButton(tr("Remove"));
        connect(edit, &QPushButton::clicked, this,
                [this, workflow] { CustomizeWorkflowDialog(workflows_, workflow, this).exec(); });
        connect(remove, &QPushButton::clicked, this,
                [this, id = workflow.id] { workflows_.remove(id); });
        row->addWidget(badge);
        row->addWidget(new QLabel(QString::fromStdString(workflow.name)), 1);
        row->addWidget(edit);
        row->addWidget(remove);
        line->revealOnHover({edit, remove});
        rowsColumn->addWidget(line);
    }
}

}  // namespace quorvane::ui

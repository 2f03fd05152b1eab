#include "ui/scripts/ScriptEditor.hpp"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QPointer>
#include <QVBoxLayout>

namespace quorvane::ui {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

}  // namespace

ScriptEditor::ScriptEditor(triggers::ScriptTaskService& scripts, triggers::ScriptTask task,
                           QWidget* parent)
    : QWidget(parent), scripts_(scripts), task_(std::move(task)) {
    name_ = new QLineEdit(QString::fromStdString(task_.name));
    description_ = new QLineEdit(QString::fromStdString(task_.description));
    icon_ = new EmojiPicker(QString::fromStdString(task_.icon));
    mode_ = new QComboBox;
    for (auto mode :
         {triggers::ScriptTask::Mode::commandLine, triggers::ScriptTask::Mode::appleScript})
        mode_->addItem(text(triggers::title(mode)));
    mode_->setCurrentIndex(task_.mode == triggers::ScriptTask::Mode::commandLine ? 0 : 1);
    script_ = new QPlainTextEdit(QString::fromStdString(task_.content));
    script_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    script_->setMinimumHeight(120);
    showsAlert_ = new QCheckBox(tr("Show result as alert"));
    showsAlert_->setChecked(task_.showsAlert);

    auto* configure = new QGroupBox(tr("Configure"));
    auto* form = new QFormLayout(configure);
    form->addRow(tr("Name"), name_);
    form->addRow(tr("Description"), description_);
    form->addRow(tr("Icon"), icon_);
    form->addRow(tr("Mode"), mode_);
    form->addRow(tr("Script"), script_);
    form->addRow(showsAlert_);

    run_ = new QPushButton(tr("Run"));
    preview_ = new QLabel;
    preview_->setObjectName("Preview");
    preview_->setWordWrap(true);
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* previewBox = new QGroupBox(tr("Preview"));
    auto* previewColumn = new QVBoxLayout(previewBox);
    previewColumn->addWidget(run_, 0, Qt::AlignLeft);
    previewColumn->addWidget(preview_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(configure);
    column->addWidget(previewBox);

    connect(name_, &QLineEdit::editingFinished, this, [this] { save(); });
    connect(description_, &QLineEdit::editingFinished, this, [this] { save(); });
    icon_->chosen = [this](const QString&) { save(); };
    connect(mode_, &QComboBox::currentIndexChanged, this, [this] { save(); });
    connect(script_, &QPlainTextEdit::textChanged, this, [this] { save(); });
    connect(showsAlert_, &QCheckBox::toggled, this, [this] { save(); });
    connect(run_, &QPushButton::clicked, this, [this] {
        save();
        preview_->setText(tr("Running…"));
        // The view may be closed before the script ends.
        QPointer<QLabel> shown = preview_;
        scripts_.execution().execute(task_, [shown](const triggers::ScriptResult& result) {
            if (shown)
                shown->setText(QString::fromStdString(result.preview()));
        });
    });
}

void ScriptEditor::save() {
    task_.name = name_->text().toStdString();
    task_.description = description_->text().toStdString();
    task_.icon = icon_->emoji().toStdString();
    task_.mode = mode_->currentIndex() == 0 ? triggers::ScriptTask::Mode::commandLine
                                            : triggers::ScriptTask::Mode::appleScript;
    task_.content = script_->toPlainText().toStdString();
    task_.showsAlert = showsAlert_->isChecked();
    scripts_.update(task_);
    // The sheet it sits in is titled with the script's icon and name.
    if (QWidget* sheet = window(); sheet != this)
        sheet->setWindowTitle(QString::fromStdString(task_.icon + "  " + task_.name));
}

}  // namespace quorvane::ui

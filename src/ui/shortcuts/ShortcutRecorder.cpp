#include "ui/shortcuts/ShortcutRecorder.hpp"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/Looks.hpp"

namespace quorvane::ui {

namespace {

bool isFunctionKey(Qt::Key key) {
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

}  // namespace

ShortcutRecorder::ShortcutRecorder(platform::Hotkeys& hotkeys, std::string name, Describe describe,
                                   QWidget* parent)
    : QWidget(parent), hotkeys_(hotkeys), name_(std::move(name)), describe_(std::move(describe)) {
    editor_ = new QKeySequenceEdit(this);
    editor_->setToolTip(tr("Click, then press the shortcut"));
    auto* clear = new QToolButton(this);
    clear->setText(QStringLiteral("✕"));
    clear->setToolTip(tr("Remove the shortcut"));
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    tint(message_, QColor(0xb3, 0x26, 0x1e));
    message_->hide();

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(editor_, 1);
    row->addWidget(clear);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    column->addWidget(message_);

    connect(editor_, &QKeySequenceEdit::keySequenceChanged, this,
            [this](const QKeySequence& sequence) {
                if (!sequence.isEmpty())
                    record(sequence);
            });
    connect(clear, &QToolButton::clicked, this, [this] {
        hotkeys_.clear(name_);
        message_->hide();
        showStored();
    });
    showStored();
}

void ShortcutRecorder::record(const QKeySequence& sequence) {
    // One combination: the first one pressed.
    const auto pressed = sequence[0];
    const QKeySequence combination(pressed);
    const platform::KeyCombination wanted{
        combination.toString(QKeySequence::PortableText).toStdString()};
    const auto holder = hotkeys_.nameOf(wanted);
    message_->hide();
    if (pressed.keyboardModifiers() == Qt::NoModifier && !isFunctionKey(pressed.key())) {
        message_->setText(
            tr("A shortcut needs Ctrl, Alt, Shift or Meta (function keys alone "
               "are fine)."));
        message_->show();
    } else if (holder && *holder != name_) {
        message_->setText(
            tr("%1 is already the shortcut of %2.")
                .arg(combination.toString(QKeySequence::NativeText),
                     describe_ ? describe_(*holder) : QString::fromStdString(*holder)));
        message_->show();
    } else if (auto recorded = hotkeys_.setCombination(name_, wanted); !recorded) {
        message_->setText(QString::fromStdString(recorded.error().message));
        message_->show();
    }
    showStored();
    editor_->clearFocus();
}

void ShortcutRecorder::showStored() {
    const QSignalBlocker quiet(editor_);
    const auto stored = hotkeys_.combination(name_);
    editor_->setKeySequence(stored ? QKeySequence::fromString(QString::fromStdString(stored->text),
                                                              QKeySequence::PortableText)
                                   : QKeySequence());
}

}  // namespace quorvane::ui

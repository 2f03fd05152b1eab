#include "ui/shortcuts/ShortcutRecorder.hpp"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/Looks.hpp"

namespace quorvane::ui {

namespace {

bool isFunctionKey(Qt::Key key) {
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock ||
           key == Qt::Key_NumLock || key == Qt::Key_unknown;
}

}  // namespace

ShortcutRecorder::ShortcutRecorder(platform::Hotkeys& hotkeys, std::string name, Describe describe,
                                   QWidget* parent)
    : QWidget(parent), hotkeys_(hotkeys), name_(std::move(name)), describe_(std::move(describe)) {
    editor_ = new QKeySequenceEdit(this);
    editor_->setToolTip(tr("Click, then press the shortcut"));
    // Recording starts with a click, not with a sheet that happens to
    // focus its first field.
    editor_->setFocusPolicy(Qt::ClickFocus);
    editor_->installEventFilter(this);
    auto* clear = new QToolButton(this);
    clear->setText(QStringLiteral("✕"));
    clear->setToolTip(tr("Remove the shortcut"));
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    tint(message_, errorText(message_->palette()));
    message_->hide();
    // The hint takes its room, two lines as wide as the field, whether shown
    // or not: nothing jumps when it appears.
    auto policy = message_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    policy.setHorizontalPolicy(QSizePolicy::Ignored);
    message_->setSizePolicy(policy);
    message_->setMinimumHeight(2 * message_->fontMetrics().lineSpacing());
    setMinimumWidth(message_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 44);

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
                // Key presses are recorded by the filter below; what the
                // editor announces after the recording ended (its stored
                // sequence, set again) must not record anew and hide the hint.
                if (listening_ && !sequence.isEmpty())
                    record(sequence);
            });
    connect(clear, &QToolButton::clicked, this, [this] {
        hotkeys_.clear(name_);
        message_->hide();
        showStored();
    });
    showStored();
}

ShortcutRecorder::~ShortcutRecorder() {
    listen(false);
}

void ShortcutRecorder::listen(bool on) {
    if (on == listening_)
        return;
    listening_ = on;
    if (on)
        hotkeys_.suspend();
    else
        hotkeys_.resume();
}

bool ShortcutRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        switch (event->type()) {
            case QEvent::FocusIn:
                listen(true);
                break;
            case QEvent::FocusOut:
            case QEvent::Hide:
                listen(false);
                break;
            case QEvent::KeyPress: {
                if (!listening_)
                    break;
                const auto* press = static_cast<QKeyEvent*>(event);
                if (press->key() == Qt::Key_Escape) {
                    // Cancelled: the stored shortcut stays as it was.
                    showStored();
                    editor_->clearFocus();
                    listen(false);
                    return true;
                }
                if (!isModifierKey(press->key())) {
                    // The first whole combination ends the recording at once,
                    // rather than when the editor's own wait for more runs out.
                    const auto held = press->modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                            Qt::ShiftModifier | Qt::MetaModifier);
                    record(QKeySequence(QKeyCombination(held, Qt::Key(press->key()))));
                    return true;
                }
                break;
            }
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
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
    listen(false);
}

void ShortcutRecorder::showStored() {
    const QSignalBlocker quiet(editor_);
    const auto stored = hotkeys_.combination(name_);
    editor_->setKeySequence(stored ? QKeySequence::fromString(QString::fromStdString(stored->text),
                                                              QKeySequence::PortableText)
                                   : QKeySequence());
}

}  // namespace quorvane::ui

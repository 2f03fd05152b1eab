#include "ui/TweakCell.hpp"

#include <QPainter>

#include "ui/Symbols.hpp"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "core/CanToggle.hpp"
#include "ui/EmojiImages.hpp"
#include "ui/ExtraPanelView.hpp"
#include "ui/Looks.hpp"

namespace quorvane::ui {

namespace {

// A flat button draws no frame, so the keyboard focus would not show: it
// draws a ring of the accent colour while it has the focus.
class RingedButton final : public QPushButton {
  public:
    RingedButton(const QIcon& icon, QWidget* parent) : QPushButton(icon, {}, parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
    }
};

// A line of a cell in a wide list: its text is set once and never wraps,
// so its size is measured once, with one layout of the text. QLabel
// measures a label three times (as wide as it likes, on one line, and as
// narrow as it can be), each time laying the text out anew, and again after
// each polish; for a list's labels that is most of the time to a first
// window.
class OneLine final : public QLabel {
  public:
    OneLine(const QString& text, QWidget* parent) : QLabel(text, parent) {}

    QSize sizeHint() const override {
        if (!measured_.isValid()) {
            ensurePolished();
            const QRect bounds =
                fontMetrics().boundingRect(QRect(0, 0, 2000, 2000), int(alignment()), text());
            textWidth_ = bounds.width();
            const int margins = 2 * margin();
            const QMargins around = contentsMargins();
            measured_ = (bounds.size() + QSize(margins + around.left() + around.right(),
                                               margins + around.top() + around.bottom()))
                            .expandedTo(minimumSize());
        }
        return measured_;
    }
    // Room for an ellipsis and little more: a narrow window shortens the
    // line rather than push the cell's switch and buttons past the list's
    // edge. From the font's metrics, not a layout of text.
    QSize minimumSizeHint() const override {
        const QSize whole = sizeHint();
        return {std::min(whole.width(), 3 * fontMetrics().averageCharWidth() +
                                            contentsMargins().left() + contentsMargins().right() +
                                            2 * margin()),
                whole.height()};
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
        sizeHint();  // measures the line once
        if (area.width() >= textWidth_) {
            QLabel::paintEvent(event);
            return;
        }
        // Too narrow for the whole line: cut short with an ellipsis.
        QPainter painter(this);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       foregroundRole()));
        painter.drawText(area, int(alignment()) | Qt::TextSingleLine,
                         fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }

    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
            event->type() == QEvent::ContentsRectChange)
            measured_ = {};
        QLabel::changeEvent(event);
    }

  private:
    mutable QSize measured_;
    mutable int textWidth_ = 0;
};

}  // namespace

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

}  // namespace

TweakCell::TweakCell(std::shared_ptr<core::Tweak> tweak, Actions actions, bool narrow,
                     QWidget* parent)
    : QFrame(parent), tweak_(std::move(tweak)), actions_(std::move(actions)) {
    setObjectName("TweakCell");
    setFrameShape(QFrame::StyledPanel);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setToolTip(text(tweak_->explanation()));

    auto* icon = new QLabel(this);
    icon->setPixmap(EmojiImages::image(text(tweak_->icon()), 34));
    icon->setAccessibleName(text(tweak_->icon()));
    icon->setFixedSize(44, 44);
    icon->setAlignment(Qt::AlignCenter);

    // Measured the cheap way where the lines never wrap.
    auto line = [this, narrow](const std::string& words) -> QLabel* {
        if (narrow)
            return new QLabel(text(words), this);
        return new OneLine(text(words), this);
    };
    auto* name = line(tweak_->name());
    QFont nameFont = name->font();
    nameFont.setBold(true);
    name->setFont(nameFont);
    auto* description = line(tweak_->description());
    // Colours through the palette: a style sheet per label would make the
    // style sheet machinery polish every cell, which dominates start-up.
    tint(description, secondaryText(description->palette()));
    // In the popover every line wraps rather than widen the cell past it,
    // which would push the Run button and the switch off its edge.
    auto wrapWhenNarrow = [narrow](QLabel* label) {
        if (!narrow)
            return;
        label->setWordWrap(true);
        label->setMinimumWidth(1);
    };
    wrapWhenNarrow(name);
    wrapWhenNarrow(description);

    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    const auto acts = tweak_->actsOn();
    QLabel* mark = nullptr;
    if (acts.isSimulated()) {
        // A quiet mark; the reason is in the tooltip and behind the
        // information button.
        mark = new QLabel(tr("simulated Mac"), this);
        mark->setObjectName("Simulated");
        tint(mark, secondaryText(mark->palette()));
        QFont small = mark->font();
        small.setPixelSize(10);
        mark->setFont(small);
        mark->setToolTip(tr("Acts on the simulated Mac: %1.").arg(text(acts.reason)));
        mark->setAccessibleName(tr("Acts on the simulated Mac"));
    }
    if (mark && !narrow) {
        // Beside the name, where the line has room.
        auto* heading = new QHBoxLayout;
        heading->setSpacing(6);
        // Both at the top of the line (a label stretched taller would
        // centre its text lower), the smaller text started lower by the
        // difference of the two fonts' ascents: one baseline.
        heading->addWidget(name, 0, Qt::AlignTop);
        mark->setContentsMargins(
            0, QFontMetrics(name->font()).ascent() - QFontMetrics(mark->font()).ascent(), 0, 0);
        heading->addWidget(mark, 0, Qt::AlignTop);
        heading->addStretch(1);
        words->addLayout(heading);
    } else {
        // In the popover's narrow cells a name keeps the whole line, and
        // the mark goes under it.
        words->addWidget(name);
        if (mark)
            words->addWidget(mark);
    }
    words->addWidget(description);
    if (auto reason = tweak_->unavailableReason()) {
        auto* unavailable = line(*reason);
        unavailable->setObjectName("Unavailable");
        tint(unavailable, warningText(unavailable->palette()));
        QFont small = unavailable->font();
        small.setPixelSize(11);
        unavailable->setFont(small);
        wrapWhenNarrow(unavailable);
        words->addWidget(unavailable);
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 8, 10, 8);
    column->addLayout(row);
    row->addWidget(icon);
    row->addLayout(words, 1);

    if (!tweak_->explanation().empty() || !tweak_->docUrl().empty() || acts.isSimulated()) {
        // A drawn information symbol: a text glyph is missing from some
        // desktops' fonts, and icon themes draw a speech bubble. Made once.
        static const QIcon infoIcon = [this] {
            QIcon drawn;
            for (qreal ratio : {1.0, 2.0})
                drawn.addPixmap(symbolPixmap("info.circle", 16, palette().color(QPalette::Highlight),
                                            ratio));
            return drawn;
        }();
        auto* info = new RingedButton(infoIcon, this);
        info->setObjectName("Info");
        info->setFlat(true);
        info->setFixedWidth(28);
        info->setAccessibleName(tr("About %1").arg(text(tweak_->name())));
        row->addWidget(info);
        connect(info, &QPushButton::clicked, this, [this] {
            if (actions_.showInfo)
                actions_.showInfo(tweak_);
        });
    }
    if (core::asToggle(*tweak_)) {
        toggle_ = new Switch(this);
        toggle_->setAccessibleName(text(tweak_->name()));
        // Nothing to switch where the tweak cannot work.
        toggle_->setEnabled(tweak_->isAvailable());
        row->addWidget(toggle_);
        updateState();
        connect(toggle_, &Switch::toggled, this, [this](bool on) {
            if (actions_.switchToggle)
                actions_.switchToggle(tweak_, on);
            updateState();
        });
    } else {
        auto* run = new QPushButton(tr("Run"), this);
        run->setAccessibleName(tr("Run %1").arg(text(tweak_->name())));
        // Nothing to run where the tweak cannot work; the cell says why.
        run->setEnabled(tweak_->isAvailable());
        row->addWidget(run);
        connect(run, &QPushButton::clicked, this, [this] {
            if (actions_.runOneShot)
                actions_.runOneShot(tweak_);
        });
    }
    if (tweak_->hasExtra())
        if (auto panel = tweak_->extraView(); !panel.isEmpty())
            column->addWidget(new ExtraPanelView(std::move(panel), narrow ? 2 : 3, this));
}

void TweakCell::updateState() {
    if (!toggle_)
        return;
    // A Store field, or the state a toggle keeps itself ("Finder Context
    // Menu": whether the file managers hold the actions), read again after
    // each run.
    const QSignalBlocker quiet(toggle_);
    toggle_->setChecked(core::asToggle(*tweak_)->isOn());
}

void TweakCell::contextMenuEvent(QContextMenuEvent* event) {
    if (actions_.showMenu)
        actions_.showMenu(tweak_, event->globalPos());
}

}  // namespace quorvane::ui

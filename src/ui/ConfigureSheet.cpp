#include "ui/ConfigureSheet.hpp"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QScreen>
#include <QPointer>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>
#include <QVBoxLayout>

#include "ui/FormView.hpp"
#include "ui/shortcuts/ShortcutRecorder.hpp"

namespace quorvane::ui {

ConfigureSheet::ConfigureSheet(const std::shared_ptr<core::Tweak>& tweak,
                               const CustomConfigureViews& customViews,
                               platform::UserDefaults& defaults, platform::Hotkeys* hotkeys,
                               std::function<QString(const std::string&)> describe, QWidget* parent)
    : QDialog(parent) {
    setObjectName("ConfigureSheet");
    setWindowTitle(QString::fromStdString(tweak->icon() + "  " + tweak->name()));
    auto* column = new QVBoxLayout(this);
    QWidget* content = customViews ? customViews(tweak, this) : nullptr;
    if (!content) {
        const auto form = tweak->configureView();
        if (!form.isEmpty())
            content = new FormView(form, defaults, {}, this);
        else
            content = new QLabel(
                tr("%1 has nothing to configure.").arg(QString::fromStdString(tweak->name())),
                this);
    }
    // Beyond what fits on the screen, the content scrolls.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("ConfigureContent");
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidget(content);
    column->addWidget(scroll_, 1);
    if (hotkeys) {
        auto* shortcut = new QFormLayout;
        shortcut->addRow(tr("Keyboard Shortcut"),
                         new ShortcutRecorder(*hotkeys, tweak->id(), std::move(describe), this));
        column->addLayout(shortcut);
    }

    auto* done = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(done, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(done);
    sizeToContent(content);
    // Content that grows (a schedule's new row) grows the sheet with it.
    content->installEventFilter(this);
}

bool ConfigureSheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LayoutRequest && watched == scroll_->widget()) {
        auto* content = scroll_->widget();
        QTimer::singleShot(0, this, [this, content = QPointer<QWidget>(content)] {
            if (content && content == scroll_->widget())
                sizeToContent(content);
        });
    }
    return QDialog::eventFilter(watched, event);
}

void ConfigureSheet::sizeToContent(QWidget* content) {
    // As wide as the content asks, within reason; as high as its text needs
    // at that width, up to most of the screen.
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    const int width = std::clamp(content->sizeHint().width() + 40, 460,
                                 std::min(720, available.width() * 9 / 10));
    const int inner = width - layout()->contentsMargins().left() - layout()->contentsMargins().right();
    const int needed = content->hasHeightForWidth() ? content->heightForWidth(inner)
                                                    : content->sizeHint().height();
    scroll_->setMinimumHeight(std::min(needed, available.height() * 6 / 10));
    setMinimumWidth(std::min(460, width));
    resize(width, sizeHint().height());
}

InfoDialog::InfoDialog(const core::Tweak& tweak, QWidget* parent) : QDialog(parent) {
    setObjectName("InfoDialog");
    setWindowTitle(QString::fromStdString(tweak.name()));
    auto* column = new QVBoxLayout(this);
    auto* heading = new QLabel(QString::fromStdString(tweak.icon() + "  " + tweak.name()), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSize(headingFont.pointSize() + 3);
    heading->setFont(headingFont);
    column->addWidget(heading);
    auto* explanation =
        new QLabel(QString::fromStdString(tweak.explanation().empty() ? tweak.description()
                                                                      : tweak.explanation()),
                   this);
    explanation->setWordWrap(true);
    explanation->setObjectName("Explanation");
    column->addWidget(explanation);
    // Where it acts, when that is not this desktop.
    if (const auto acts = tweak.actsOn(); acts.isSimulated()) {
        auto* where = new QLabel(
            tr("Acts on the simulated Mac, not on this computer: %1.")
                .arg(QString::fromStdString(acts.reason)),
            this);
        where->setWordWrap(true);
        where->setObjectName("ActsOn");
        column->addWidget(where);
    }
    if (!tweak.docUrl().empty()) {
        auto* link =
            new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                           .arg(QString::fromStdString(tweak.docUrl()), tr("Documentation")),
                       this);
        link->setOpenExternalLinks(true);
        column->addWidget(link);
    }
    auto* done = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(done, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(done);
    resize(440, 200);
}

}  // namespace quorvane::ui

#include "ui/JournalPage.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/Looks.hpp"
#include "ui/PageTitle.hpp"
#include "ui/Switch.hpp"

namespace quorvane::ui {

JournalPage::JournalPage(Services services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)) {
    auto* title = makePageTitle(tr("Activity"), this);
    auto* intro = new QLabel(
        tr("Every command, script, restart and pasteboard change Quorvane made, newest first."),
        this);
    intro->setWordWrap(true);
    // Monitors and taps started and stopped, events posted, key clicks:
    // there when asked for, not burying the changes.
    showInput_ = new Switch(tr("Show input"), this);
    showInput_->setToolTip(tr("Also list the input Quorvane watched and made: monitors and taps "
                              "started and stopped, events posted, key clicks played."));
    connect(showInput_, &QAbstractButton::toggled, this, [this] { reload(); });
    notice_ = new BoxedLabel(QString(), noticeLook(palette()), this);
    notice_->setObjectName("ActivityNotice");
    notice_->setWordWrap(true);
    notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notice_->hide();
    list_ = new QListWidget(this);
    list_->setAlternatingRowColors(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(title);
    auto* introRow = new QHBoxLayout;
    introRow->addWidget(intro, 1);
    introRow->addWidget(showInput_, 0, Qt::AlignTop);
    layout->addLayout(introRow);
    layout->addWidget(notice_);
    layout->addWidget(list_, 1);

    // Writes come in bursts: read once they settle.
    settle_.setSingleShot(true);
    settle_.setInterval(100);
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (isVisible())
            reload();
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        watch();  // a rotated file is a new file
        settle_.start();
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        watch();
        settle_.start();
    });
    watch();
}

void JournalPage::setNotice(const QString& text) {
    notice_->setText(text);
    notice_->setVisible(!text.isEmpty());
}

void JournalPage::watch() {
    if (services_.file.empty())
        return;
    const auto file = QString::fromStdString(services_.file.string());
    const auto folder = QString::fromStdString(services_.file.parent_path().string());
    if (!watcher_.files().contains(file) && std::filesystem::exists(services_.file))
        watcher_.addPath(file);
    if (!watcher_.directories().contains(folder) && std::filesystem::exists(services_.file.parent_path()))
        watcher_.addPath(folder);
}

void JournalPage::reload() {
    list_->clear();
    const auto lines =
        platform::readableJournal(services_.journal.entries(), showInput_->isChecked());
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const auto& entry = line->entry;
        const std::string name = services_.nameOf ? services_.nameOf(entry.cause) : entry.cause;
        QString detail = QString::fromStdString(entry.detail).replace('\n', QStringLiteral(" ⏎ "));
        if (line->count > 1)
            detail += QStringLiteral("  ×%1").arg(line->count);
        auto* item = new QListWidgetItem(
            QStringLiteral("%1   %2 · %3   %4")
                .arg(QString::fromStdString(entry.time).left(19).replace('T', ' '),
                     QString::fromStdString(name), QString::fromStdString(entry.kind), detail),
            list_);
        item->setToolTip(QString::fromStdString(entry.cause));
    }
    if (lines.empty())
        list_->addItem(tr("Nothing yet. Run a tweak and what it changed appears here."));
}

void JournalPage::showEvent(QShowEvent* event) {
    reload();
    QWidget::showEvent(event);
}

}  // namespace quorvane::ui

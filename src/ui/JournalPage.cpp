#include "ui/JournalPage.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Looks.hpp"
#include "ui/PageTitle.hpp"
#include "ui/Switch.hpp"

namespace quorvane::ui {

namespace {

// "2024-05-01 09:30:12" from the journal's "2024-05-01T09:30:12.123Z".
QString shownTime(const std::string& time) {
    return QString::fromStdString(time).left(19).replace('T', ' ');
}

// Changes beyond this many are counted, not listed, in the question.
constexpr int listedInQuestion = 20;

}  // namespace

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
    if (services_.restore)
        layout->addWidget(makeRestoreSection());
    layout->addWidget(list_, 2);

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

QWidget* JournalPage::makeRestoreSection() {
    auto* section = new QWidget(this);
    auto* heading = new QLabel(tr("Changes you can put back"), section);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    restoreAll_ = new QPushButton(tr("Restore everything Quorvane changed…"), section);
    restoreAll_->setObjectName("RestoreAllButton");
    connect(restoreAll_, &QPushButton::clicked, this, [this] { askToRestoreAll(); });
    nothingToRestore_ = new QLabel(tr("Nothing to put back."), section);
    tint(nothingToRestore_, secondaryText(palette()));
    restores_ = new QListWidget(section);
    restores_->setObjectName("RestoreList");
    restores_->setAlternatingRowColors(true);
    restoreOutcome_ = new QLabel(section);
    restoreOutcome_->setObjectName("RestoreOutcome");
    restoreOutcome_->setTextFormat(Qt::PlainText);
    restoreOutcome_->setWordWrap(true);
    restoreOutcome_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    restoreOutcome_->hide();

    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* headingRow = new QHBoxLayout;
    headingRow->addWidget(heading, 1);
    headingRow->addWidget(restoreAll_);
    layout->addLayout(headingRow);
    layout->addWidget(nothingToRestore_);
    layout->addWidget(restores_, 1);
    layout->addWidget(restoreOutcome_);
    return section;
}

QString JournalPage::change(const platform::RestoreEntry& entry) const {
    const std::string name = services_.nameOf ? services_.nameOf(entry.cause) : entry.cause;
    // A deletion has no values to show: its note says it is gone.
    if (!entry.restorable)
        return QStringLiteral("%1   %2").arg(QString::fromStdString(name),
                                             QString::fromStdString(entry.target));
    return QStringLiteral("%1   %2   %3 → %4")
        .arg(QString::fromStdString(name), QString::fromStdString(entry.target),
             QString::fromStdString(services_.restore->describe(entry.kind, entry.before)),
             QString::fromStdString(services_.restore->describe(entry.kind, entry.after)));
}

void JournalPage::reloadRestores() {
    if (!services_.restore)
        return;
    restores_->clear();
    const auto entries = services_.restore->list();
    for (const auto& entry : entries) {
        auto* row = new QWidget;
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(6, 2, 6, 2);
        auto* text = new QLabel(shownTime(entry.time) + QStringLiteral("   ") + change(entry), row);
        text->setTextFormat(Qt::PlainText);
        text->setToolTip(QString::fromStdString(entry.cause));
        rowLayout->addWidget(text, 1);
        if (entry.restorable) {
            auto* button = new QPushButton(tr("Restore"), row);
            button->setObjectName("RestoreEntryButton");
            connect(button, &QPushButton::clicked, this, [this, id = entry.id] {
                core::RestoreSelection selection;
                selection.ids = {id};
                putBack(selection);
            });
            rowLayout->addWidget(button);
        } else {
            auto* note = new QLabel(
                entry.note.empty() ? tr("Cannot be put back") : QString::fromStdString(entry.note),
                row);
            note->setTextFormat(Qt::PlainText);
            tint(note, secondaryText(palette()));
            rowLayout->addWidget(note);
        }
        auto* item = new QListWidgetItem(restores_);
        item->setSizeHint(row->sizeHint());
        restores_->setItemWidget(item, row);
    }
    // As tall as its rows, up to five: the journal below keeps the rest.
    int height = 2 * restores_->frameWidth();
    for (int row = 0; row < std::min(restores_->count(), 5); ++row)
        height += restores_->item(row)->sizeHint().height();
    restores_->setMaximumHeight(height);
    restores_->setVisible(!entries.empty());
    nothingToRestore_->setVisible(entries.empty());
    restoreAll_->setEnabled(std::any_of(entries.begin(), entries.end(), [](const auto& entry) {
        return entry.restorable && core::RestoreSelection{}.matches(entry);
    }));
}

void JournalPage::askToRestoreAll() {
    // What putting back everything takes: the tweaks' changes, not the restores.
    QStringList lines;
    for (const auto& entry : services_.restore->list())
        if (entry.restorable && core::RestoreSelection{}.matches(entry))
            lines << change(entry);
    if (lines.isEmpty())
        return;
    // A box taller than the screen cannot be answered.
    QStringList listed = lines.mid(0, listedInQuestion);
    if (lines.size() > listedInQuestion)
        listed << tr("…and %1 more.").arg(lines.size() - listedInQuestion);
    auto& confirmations = services_.confirmations ? *services_.confirmations : ownConfirmations_;
    // The page may be gone by the time the question is answered.
    QPointer<JournalPage> alive(this);
    confirmations.ask(
        {.message = tr("Put back every change Quorvane made?").toStdString(),
         .informativeText = listed.join('\n').toStdString(),
         .confirmTitle = tr("Restore").toStdString(),
         .optionTitle = ""},
        [alive](platform::ConfirmationAnswer answer) {
            if (alive && answer.confirmed)
                alive->putBack({});
        });
}

void JournalPage::putBack(const core::RestoreSelection& selection) {
    const auto steps = services_.restore->restore(selection);
    QStringList lines;
    bool conflict = false;
    for (auto step : steps) {
        // Tweaks by the names the rows give them.
        if (services_.nameOf && !step.entry.cause.empty())
            step.entry.cause = services_.nameOf(step.entry.cause);
        lines << QString::fromStdString(core::restoreStepLine(step));
        conflict = conflict || step.result == core::RestoreStep::Result::skipped;
    }
    if (steps.empty())
        lines << tr("Nothing was left to put back.");
    // Only someone else's change since is skipped; going over it is for the command line.
    if (conflict)
        lines << tr("Use quorvane restore --force to put it back anyway.");
    restoreOutcome_->setText(lines.join('\n'));
    restoreOutcome_->show();
    // What was put back went into the journal too.
    reload();
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
    reloadRestores();
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
                .arg(shownTime(entry.time), QString::fromStdString(name),
                     QString::fromStdString(entry.kind), detail),
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

#include "ui/JournalPage.hpp"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/PageTitle.hpp"

namespace quorvane::ui {

JournalPage::JournalPage(const platform::Journal& journal, QWidget* parent)
    : QWidget(parent), journal_(journal) {
    auto* title = makePageTitle(tr("Activity"), this);
    auto* intro = new QLabel(
        tr("Every command, script, restart and pasteboard change Quorvane made, newest first."),
        this);
    intro->setWordWrap(true);
    list_ = new QListWidget(this);
    list_->setAlternatingRowColors(true);
    auto* refresh = new QPushButton(tr("Refresh"), this);
    connect(refresh, &QPushButton::clicked, this, [this] { reload(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(title);
    layout->addWidget(intro);
    layout->addWidget(list_, 1);
    layout->addWidget(refresh, 0, Qt::AlignRight);
}

void JournalPage::reload() {
    list_->clear();
    const auto entries = journal_.entries();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        QString detail = QString::fromStdString(entry->detail).replace('\n', QStringLiteral(" ⏎ "));
        list_->addItem(QStringLiteral("%1   %2 · %3   %4")
                           .arg(QString::fromStdString(entry->time).left(19).replace('T', ' '),
                                QString::fromStdString(entry->cause),
                                QString::fromStdString(entry->kind), detail));
    }
    if (entries.empty())
        list_->addItem(tr("Nothing yet. Run a tweak and what it changed appears here."));
}

void JournalPage::showEvent(QShowEvent* event) {
    reload();
    QWidget::showEvent(event);
}

}  // namespace quorvane::ui

#include "ui/MainWindow.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quorvane::ui {

QString categoryIcon(core::Category category) {
    using enum core::Category;
    switch (category) {
        case finder:
            return QStringLiteral("🗂️");
        case browser:
            return QStringLiteral("🌐");
        case xcode:
            return QStringLiteral("🔨");
        case system:
            return QStringLiteral("⚙️");
        case dock:
            return QStringLiteral("⚓️");
        case desktop:
            return QStringLiteral("🏝️");
        case statusMenu:
            return QStringLiteral("📍");
        case script:
            return QStringLiteral("📜");
        case simulator:
            return QStringLiteral("📱");
        case screenshot:
            return QStringLiteral("📸");
        case keyboard:
            return QStringLiteral("⌨️");
        case photos:
            return QStringLiteral("🖼️");
        case effect:
            return QStringLiteral("✨");
        case display:
            return QStringLiteral("🖥️");
        case mouse:
            return QStringLiteral("🖱️");
        case window:
            return QStringLiteral("🪟");
        case utility:
            return QStringLiteral("🧰");
    }
    return {};
}

MainWindow::MainWindow(Services services, QWidget* parent)
    : QMainWindow(parent),
      holder_(core::TweaksPlace::main, services.list.catalogue, services.list.store,
              services.list.mainQueue, services.list.notifications),
      openSettings_(std::move(services.openSettings)),
      closed_(std::move(services.closed)),
      configureViews_(std::move(services.configureViews)),
      defaults_(services.defaults) {
    setWindowTitle(QStringLiteral("Quorvane"));
    resize(920, 640);

    sidebar_ = new QListWidget;
    sidebar_->setFixedWidth(210);
    sidebar_->setSpacing(2);
    auto addGroup = [this](const QString& icon, core::TweakGroup group) {
        const auto title = QString::fromStdString(group.title());
        addEntry(icon, title, {std::move(group), nullptr});
    };
    addGroup(QStringLiteral("🧩"), core::TweakGroup::all());
    addGroup(QStringLiteral("🆕"), core::TweakGroup::new_());
    addGroup(QStringLiteral("🔥"), core::TweakGroup::popular());
    addGroup(QStringLiteral("🎲"), core::TweakGroup::random());
    for (auto category : core::allCategories)
        addGroup(categoryIcon(category), core::TweakGroup::category(category));

    search_ = new QLineEdit;
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::textChanged, this,
            [this](const QString& text) { holder_.searchText.set(text.toStdString()); });

    list_ = new TweakListView(holder_, services.list.store, services.list.actions,
                              services.list.handler);
    tweaksPage_ = new QWidget;
    auto* tweaksColumn = new QVBoxLayout(tweaksPage_);
    tweaksColumn->setContentsMargins(0, 8, 0, 0);
    if (!services.simulationNotice.isEmpty()) {
        auto* notice = new QLabel(services.simulationNotice);
        notice->setObjectName("SimulationNotice");
        notice->setWordWrap(true);
        notice->setStyleSheet(
            "background: #fff4d6; color: #5c4300; border: 1px solid #e8c66a; border-radius: 6px;"
            "padding: 6px 10px; margin: 0 12px;");
        tweaksColumn->addWidget(notice);
    }
    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(12, 0, 12, 0);
    searchRow->addWidget(search_);
    tweaksColumn->addLayout(searchRow);
    tweaksColumn->addWidget(list_, 1);

    journalPage_ = new JournalPage(services.journal);
    pages_ = new QStackedWidget;
    pages_->addWidget(tweaksPage_);
    pages_->addWidget(journalPage_);
    addEntry(QStringLiteral("📓"), tr("Activity"), {std::nullopt, journalPage_});
    activityEntry_ = sidebar_->item(sidebar_->count() - 1);
    if (openSettings_)
        addEntry(QStringLiteral("⚙️"), tr("Settings"), {});

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(sidebar_);
    row->addWidget(pages_, 1);
    setCentralWidget(central);

    configureWatch_ = holder_.showsConfigureView.subscribe(
        [this](const bool& shown) { showConfigureSheet(shown); });
    connect(sidebar_, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* selected) { select(selected); });
    sidebar_->setCurrentRow(0);
}

void MainWindow::addEntry(const QString& icon, const QString& title, Destination destination,
                          int row) {
    auto* item = new QListWidgetItem(icon + QStringLiteral("  ") + title);
    item->setData(Qt::UserRole, static_cast<int>(destinations_.size()));
    item->setData(Qt::UserRole + 1, title);
    destinations_.push_back(std::move(destination));
    if (row < 0)
        sidebar_->addItem(item);
    else
        sidebar_->insertItem(row, item);
}

void MainWindow::addAutomationPage(QWidget* page) {
    pages_->addWidget(page);
    addEntry(QStringLiteral("🤖"), tr("Automation"), {std::nullopt, page},
             sidebar_->row(activityEntry_));
}

bool MainWindow::selectEntry(const QString& title) {
    for (int row = 0; row < sidebar_->count(); ++row)
        if (sidebar_->item(row)->data(Qt::UserRole + 1).toString() == title) {
            sidebar_->setCurrentRow(row);
            return true;
        }
    return false;
}

void MainWindow::select(QListWidgetItem* item) {
    if (!item)
        return;
    const auto& destination = destinations_[item->data(Qt::UserRole).toUInt()];
    if (destination.group) {
        pages_->setCurrentWidget(tweaksPage_);
        holder_.group.set(*destination.group);
    } else if (destination.page) {
        pages_->setCurrentWidget(destination.page);
    } else if (openSettings_) {
        openSettings_();
    }
}

void MainWindow::showConfigureSheet(bool shown) {
    auto tweak = holder_.configuredTask.get();
    if (!shown || !tweak || !defaults_)
        return;
    auto* sheet = new ConfigureSheet(tweak, configureViews_, *defaults_, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [this] {
        holder_.showsConfigureView.set(false);
        holder_.configuredTask.set(nullptr);
    });
    sheet->open();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (closed_)
        closed_();
}

void MainWindow::reopen() {
    show();
    raise();
    activateWindow();
}

}  // namespace quorvane::ui

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
              services.list.mainQueue, services.list.notifications) {
    setWindowTitle(QStringLiteral("Quorvane"));
    resize(920, 640);

    sidebar_ = new QListWidget;
    sidebar_->setFixedWidth(210);
    sidebar_->setSpacing(2);
    auto addGroup = [this](const QString& icon, core::TweakGroup group) {
        sidebar_->addItem(icon + QStringLiteral("  ") + QString::fromStdString(group.title()));
        groups_.push_back(std::move(group));
    };
    addGroup(QStringLiteral("🧩"), core::TweakGroup::all());
    addGroup(QStringLiteral("🆕"), core::TweakGroup::new_());
    addGroup(QStringLiteral("🔥"), core::TweakGroup::popular());
    addGroup(QStringLiteral("🎲"), core::TweakGroup::random());
    for (auto category : core::allCategories)
        addGroup(categoryIcon(category), core::TweakGroup::category(category));
    sidebar_->addItem(QStringLiteral("📓  ") + tr("Activity"));
    if (openSettings_) {
        settingsRow_ = sidebar_->count();
        sidebar_->addItem(QStringLiteral("⚙️  ") + tr("Settings"));
    }

    search_ = new QLineEdit;
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    connect(search_, &QLineEdit::textChanged, this,
            [this](const QString& text) { holder_.searchText.set(text.toStdString()); });

    list_ = new TweakListView(holder_, services.list.store, services.list.actions,
                              services.list.handler);
    auto* tweaksPage = new QWidget;
    auto* tweaksColumn = new QVBoxLayout(tweaksPage);
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
    pages_->addWidget(tweaksPage);
    pages_->addWidget(journalPage_);

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(sidebar_);
    row->addWidget(pages_, 1);
    setCentralWidget(central);

    configureWatch_ = holder_.showsConfigureView.subscribe(
        [this](const bool& shown) { showConfigureSheet(shown); });
    connect(sidebar_, &QListWidget::currentRowChanged, this,
            [this](int selected) { select(selected); });
    sidebar_->setCurrentRow(0);
}

void MainWindow::select(int row) {
    if (row < 0)
        return;
    const auto index = static_cast<std::size_t>(row);
    if (index < groups_.size()) {
        pages_->setCurrentIndex(0);
        holder_.group.set(groups_[index]);
    } else if (row == settingsRow_) {
        openSettings_();
    } else {
        pages_->setCurrentWidget(journalPage_);
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

#include "ui/MainWindow.hpp"

#include <QHBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <utility>

#include "ui/EmojiImages.hpp"
#include "ui/Looks.hpp"
#include "ui/workflows/WorkflowLook.hpp"

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
    : QWidget(parent, Qt::Window),
      holder_(core::TweaksPlace::main, services.list.catalogue, services.list.store,
              services.list.mainQueue, services.list.notifications),
      openSettings_(std::move(services.openSettings)),
      closed_(std::move(services.closed)),
      configureViews_(std::move(services.configureViews)),
      defaults_(services.defaults),
      hotkeys_(services.hotkeys),
      journal_(services.journal),
      journalFile_(std::move(services.journalFile)),
      restore_(services.restore) {
    setWindowTitle(QStringLiteral("Quorvane"));
    resize(920, 640);
    // Narrow enough for a half screen, wide enough that every cell's Run
    // button and switch stay whole.
    setMinimumSize(narrowestWidth, 420);

    sidebar_ = new Sidebar;
    sidebar_->setFixedWidth(210);
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
    workflowsRow_ = sidebar_->count();

    // The list before the search field: making its cells lays out no text,
    // so it is done while the font list is still being read at start-up;
    // the field lays out its text as it is made. The focus chain follows
    // the layout below, not this order.
    list_ = new TweakListView(holder_, services.list);
    search_ = new QLineEdit;
    search_->setPlaceholderText(tr("Search"));
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        // The clear button shows only over text: made with the first text,
        // as loading its icon costs start-up time.
        if (!text.isEmpty() && !search_->isClearButtonEnabled())
            search_->setClearButtonEnabled(true);
        holder_.searchText.set(text.toStdString());
        searchEverywhere(!text.trimmed().isEmpty());
    });
    tweaksPage_ = new QWidget;
    auto* tweaksColumn = new QVBoxLayout(tweaksPage_);
    tweaksColumn->setContentsMargins(0, 8, 0, 0);
    if (!services.simulationNotice.isEmpty()) {
        auto* notice = new BoxedLabel(services.simulationNotice, noticeLook(palette()));
        notice->setObjectName("SimulationNotice");
        notice->setWordWrap(true);
        auto* noticeRow = new QHBoxLayout;
        noticeRow->setContentsMargins(12, 0, 12, 0);
        noticeRow->addWidget(notice);
        tweaksColumn->addLayout(noticeRow);
    }
    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(12, 0, 12, 0);
    searchRow->addWidget(search_);
    if (services.addScript) {
        // Shown with the Script category: the new script opens in its editor.
        newScript_ = new QPushButton(tr("New Script"));
        newScript_->hide();
        connect(newScript_, &QPushButton::clicked, this, [this, add = services.addScript] {
            if (auto tweak = holder_.catalogue().find(add()))
                holder_.handle(core::TweakCellAction::configure, tweak);
        });
        searchRow->addWidget(newScript_);
    }
    tweaksColumn->addLayout(searchRow);
    tweaksColumn->addWidget(list_, 1);

    // A stacked layout, not a stacked widget: one frame less to lay out,
    // and its code is already loaded with the other layouts.
    pages_ = new QStackedLayout;
    pages_->addWidget(tweaksPage_);
    // The Activity entry has no page until it is first chosen.
    addEntry(QStringLiteral("📓"), tr("Activity"), {std::nullopt, nullptr});
    activityEntry_ = sidebar_->entry(sidebar_->count() - 1);
    if (openSettings_)
        addEntry(QStringLiteral("⚙️"), tr("Settings"), {});

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(sidebar_);
    row->addLayout(pages_, 1);
    addShortcuts();

    configureWatch_ = holder_.showsConfigureView.subscribe(
        [this](const bool& shown) { showConfigureSheet(shown); });
    sidebar_->onCurrentChanged([this](SidebarEntry* selected) { select(selected); });
    sidebar_->setCurrentRow(0);
    workflowsWatch_ =
        services.list.store.preference.subscribe([this](const core::Preference& preference) {
            if (preference.workflows != shownWorkflows_)
                showWorkflows(preference.workflows);
        });
    showWorkflows(services.list.store.preference->workflows);
}

void MainWindow::showWorkflows(const std::vector<core::Workflow>& workflows) {
    // The entries are made anew; a workflow that was selected stays so.
    std::optional<std::string> selected;
    if (auto* current = sidebar_->currentEntry())
        if (const auto& group = destinations_[static_cast<std::size_t>(current->destination())].group)
            if (const auto* workflow = group->workflowValue())
                selected = workflow->id;
    const QSignalBlocker quiet(sidebar_);
    for (auto* entry : workflowEntries_) {
        if (entry == shown_)
            shown_ = nullptr;
        if (entry == beforeSearch_)
            beforeSearch_ = nullptr;
        sidebar_->removeEntry(entry);
    }
    workflowEntries_.clear();
    shownWorkflows_ = workflows;
    int row = workflowsRow_;
    SidebarEntry* reselect = nullptr;
    for (const auto& workflow : workflows) {
        auto* entry = addEntry({}, QString::fromStdString(workflow.name),
                               {core::TweakGroup::workflow(workflow), nullptr}, row++);
        entry->setIcon(workflowIcon(workflow));
        workflowEntries_.push_back(entry);
        if (selected == workflow.id)
            reselect = entry;
    }
    if (selected) {
        sidebar_->setCurrentEntry(reselect ? reselect : sidebar_->entry(0));
        select(sidebar_->currentEntry());
    }
}

SidebarEntry* MainWindow::addEntry(const QString& icon, const QString& title,
                                   Destination destination, int row) {
    const int index = static_cast<int>(destinations_.size());
    destinations_.push_back(std::move(destination));
    return sidebar_->insertEntry(row, icon.isEmpty() ? QIcon() : QIcon(EmojiImages::image(icon, 16)),
                                 title, index);
}

void MainWindow::addAutomationPage(std::function<QWidget*()> make) {
    addEntry(QStringLiteral("🤖"), tr("Automation"), {std::nullopt, nullptr, std::move(make)},
             sidebar_->row(activityEntry_));
}

void MainWindow::addAutomationPage(QWidget* page) {
    pages_->addWidget(page);
    addAutomationPage([page] { return page; });
}

bool MainWindow::selectEntry(const QString& title) {
    for (int row = 0; row < sidebar_->count(); ++row)
        if (sidebar_->entry(row)->title() == title) {
            sidebar_->setCurrentRow(row);
            return true;
        }
    return false;
}

JournalPage* MainWindow::journalPage() {
    if (!journalPage_) {
        journalPage_ = new JournalPage(
            {.journal = journal_,
             .file = journalFile_,
             .nameOf = [this](const std::string& cause) {
                 auto tweak = holder_.catalogue().find(cause);
                 return tweak ? tweak->name() : cause;
             },
             .restore = restore_});
        journalPage_->setNotice(activityNotice_);
        pages_->addWidget(journalPage_);
    }
    return journalPage_;
}

void MainWindow::setActivityNotice(const QString& text) {
    activityNotice_ = text;
    if (journalPage_)
        journalPage_->setNotice(text);
}

void MainWindow::addShortcuts() {
    // The platform's own keys: Ctrl on Linux where a Mac has Command.
    auto add = [this](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add(QKeySequence::Find, [this] {
        if (pages_->currentWidget() != tweaksPage_)
            sidebar_->setCurrentRow(0);
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
    add(QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Comma), [this] {
        if (openSettings_)
            openSettings_();
    });
    // Quitting goes through the normal exit, which saves every record.
    add(QKeySequence(Qt::CTRL | Qt::Key_Q), [] { QCoreApplication::quit(); });
}

void MainWindow::select(SidebarEntry* item) {
    if (!item)
        return;
    auto& destination = destinations_[static_cast<std::size_t>(item->destination())];
    if (!destination.page && destination.makePage) {
        destination.page = std::exchange(destination.makePage, {})();
        if (pages_->indexOf(destination.page) < 0)
            pages_->addWidget(destination.page);
    }
    if (!destination.group && !destination.page && item != activityEntry_) {
        // Settings opens its own window: the sidebar keeps showing where
        // the user was, current and highlighted. A click highlights the
        // entry it lands on only after reporting it current, so the
        // highlight is put back again once the click is through.
        if (openSettings_)
            openSettings_();
        auto back = [this] {
            const QSignalBlocker quiet(sidebar_);
            sidebar_->setCurrentEntry(shown_ ? shown_ : sidebar_->entry(0));
        };
        back();
        QMetaObject::invokeMethod(this, back, Qt::QueuedConnection);
        return;
    }
    shown_ = item;
    if (destination.group) {
        pages_->setCurrentWidget(tweaksPage_);
        // A group chosen by the user starts unsearched; one the search
        // moved to keeps it.
        if (!movingForSearch_ && !(holder_.group.get() == *destination.group)) {
            beforeSearch_ = nullptr;
            search_->clear();
        }
        holder_.group.set(*destination.group);
        if (newScript_)
            newScript_->setVisible(*destination.group ==
                                   core::TweakGroup::category(core::Category::script));
    } else if (destination.page) {
        pages_->setCurrentWidget(destination.page);
    } else if (item == activityEntry_) {
        pages_->setCurrentWidget(journalPage());
    }
}

void MainWindow::searchEverywhere(bool searching) {
    // A search looks through every tweak: the sidebar shows "All" while
    // there is text, and where it was once the text is gone.
    auto* all = sidebar_->entry(0);
    SidebarEntry* next = nullptr;
    if (searching && !beforeSearch_ && shown_ && shown_ != all) {
        beforeSearch_ = shown_;
        next = all;
    } else if (!searching && beforeSearch_) {
        next = std::exchange(beforeSearch_, nullptr);
    }
    if (!next)
        return;
    movingForSearch_ = true;
    sidebar_->setCurrentEntry(next);
    movingForSearch_ = false;
}

void MainWindow::showConfigureSheet(bool shown) {
    auto tweak = holder_.configuredTask.get();
    if (!shown || !tweak || !defaults_)
        return;
    auto* sheet = new ConfigureSheet(
        tweak, configureViews_, *defaults_, hotkeys_,
        [this](const std::string& id) {
            auto holder = holder_.catalogue().find(id);
            return QString::fromStdString(holder ? holder->name() : id);
        },
        this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [this] {
        holder_.showsConfigureView.set(false);
        holder_.configuredTask.set(nullptr);
    });
    sheet->open();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (closed_)
        closed_();
}

void MainWindow::reopen() {
    // Shown but minimized, show() alone leaves it in the Dock.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

}  // namespace quorvane::ui

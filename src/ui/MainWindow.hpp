#pragma once

#include <filesystem>

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "core/TweaksHolder.hpp"
#include "platform/Hotkeys.hpp"
#include "platform/Journal.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/JournalPage.hpp"
#include "ui/Sidebar.hpp"
#include "ui/TweakListView.hpp"

class QStackedLayout;

namespace quorvane::ui {

// The main window: the sidebar of groups and categories, the searchable
// list of tweaks, and the activity page. A plain top-level widget: it has
// no toolbars or docks, and a main window's layout would animate even its
// first placing of the content.
class MainWindow final : public QWidget {
  public:
    static constexpr int narrowestWidth = 640;
    struct Services {
        ListServices list;
        const platform::Journal& journal;
        // Shown above the list on a host where the macOS services are simulated.
        QString simulationNotice;
        std::function<void()> openSettings{};
        // The window was closed (the program goes on in the status item).
        std::function<void()> closed{};
        // Configure views that are not forms, and where forms keep their values.
        CustomConfigureViews configureViews{};
        platform::UserDefaults* defaults = nullptr;
        // Where configure sheets record a tweak's global shortcut.
        platform::Hotkeys* hotkeys = nullptr;
        // Makes a new script tweak and answers its id; none: no such button.
        std::function<std::string()> addScript{};
        // The journal's file, which the Activity page watches.
        std::filesystem::path journalFile{};
        // Puts back what the tweaks changed, from the Activity page; none:
        // the page offers nothing to put back.
        core::RestoreService* restore = nullptr;
    };

    explicit MainWindow(Services services, QWidget* parent = nullptr);

    core::TweaksHolder& holder() { return holder_; }
    TweakListView* list() const { return list_; }
    QLineEdit* search() const { return search_; }
    Sidebar* sidebar() const { return sidebar_; }
    // Made the first time it is shown (or asked for).
    JournalPage* journalPage();
    // Shown on the Activity page, above the journal.
    void setActivityNotice(const QString& text);

    // Brings the window forward (a second launch, "Open Quorvane").
    void reopen();
    // The Automation page, once its manager exists: listed after the
    // groups, before Activity. Made the first time it is chosen, or given
    // made.
    void addAutomationPage(std::function<QWidget*()> make);
    void addAutomationPage(QWidget* page);
    // Selects the sidebar entry with this title ("Automation").
    bool selectEntry(const QString& title);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // What a sidebar entry shows: a group of tweaks, a page, or (neither)
    // the settings window.
    struct Destination {
        std::optional<core::TweakGroup> group;
        QWidget* page = nullptr;
        // Makes the page the first time it is chosen.
        std::function<QWidget*()> makePage = {};
    };

    SidebarEntry* addEntry(const QString& icon, const QString& title, Destination destination,
                           int row = -1);
    void showWorkflows(const std::vector<core::Workflow>& workflows);
    void select(SidebarEntry* entry);
    void searchEverywhere(bool searching);
    void addShortcuts();
    void showConfigureSheet(bool shown);

    core::TweaksHolder holder_;
    std::vector<Destination> destinations_;  // indexed by the entries' destinations
    SidebarEntry* activityEntry_ = nullptr;
    // The entry whose page is shown (Settings has none).
    SidebarEntry* shown_ = nullptr;
    // Where the sidebar was before a search moved it to "All".
    SidebarEntry* beforeSearch_ = nullptr;
    bool movingForSearch_ = false;
    QWidget* tweaksPage_ = nullptr;
    Sidebar* sidebar_;
    QLineEdit* search_;
    TweakListView* list_;
    JournalPage* journalPage_ = nullptr;
    QString activityNotice_;
    QStackedLayout* pages_;
    std::function<void()> openSettings_;
    std::function<void()> closed_;
    CustomConfigureViews configureViews_;
    platform::UserDefaults* defaults_ = nullptr;
    platform::Hotkeys* hotkeys_ = nullptr;
    QPushButton* newScript_ = nullptr;
    const platform::Journal& journal_;
    std::filesystem::path journalFile_;
    core::RestoreService* restore_ = nullptr;
    int workflowsRow_ = 0;  // the workflows' entries follow the categories
    std::vector<SidebarEntry*> workflowEntries_;
    std::vector<core::Workflow> shownWorkflows_;
    core::Subscription configureWatch_;
    core::Subscription workflowsWatch_;
};

// The icon the sidebar shows for a category.
QString categoryIcon(core::Category category);

}  // namespace quorvane::ui

#pragma once

#include <QAbstractButton>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "core/restore/RestoreService.hpp"
#include "platform/Confirmations.hpp"
#include "platform/Journal.hpp"
#include "ui/ConfirmationPanel.hpp"

namespace quorvane::ui {

// "What did Quorvane change on this machine?": the activity journal, newest
// first, repeats folded into one line with their count, kept current while
// it is shown: every process that journals writes the same file, which the
// page watches. The input watched and made shows with "Show input". Above
// it, the changes the restore log holds, each with its Restore button, and
// "Restore everything", which asks first.
class JournalPage final : public QWidget {
  public:
    struct Services {
        const platform::Journal& journal;
        // The file to watch; none: the page reads when it is shown.
        std::filesystem::path file{};
        // A cause's name for people (a tweak's, a script's); the id itself
        // when it has none.
        std::function<std::string(const std::string& cause)> nameOf{};
        // Puts back what the tweaks changed; none: no such section.
        core::RestoreService* restore = nullptr;
        // Where "Restore everything" is asked; none: a panel of the page's own.
        platform::Confirmations* confirmations = nullptr;
    };

    explicit JournalPage(Services services, QWidget* parent = nullptr);

    void reload();
    QListWidget* list() const { return list_; }
    // A note above the list about what the journal may lack (system events
    // that are not watched); empty hides it.
    void setNotice(const QString& text);
    QLabel* notice() const { return notice_; }
    QAbstractButton* showInput() const { return showInput_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void watch();
    QWidget* makeRestoreSection();
    void reloadRestores();
    // "Hide the Dock   com.apple.dock autohide   off → on".
    QString change(const platform::RestoreEntry& entry) const;
    void askToRestoreAll();
    void putBack(const core::RestoreSelection& selection);

    Services services_;
    QListWidget* list_;
    QLabel* notice_;
    QAbstractButton* showInput_;
    // The restore section's, when there is a restore service.
    QListWidget* restores_ = nullptr;
    QLabel* nothingToRestore_ = nullptr;
    QPushButton* restoreAll_ = nullptr;
    QLabel* restoreOutcome_ = nullptr;
    ConfirmationPanel ownConfirmations_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace quorvane::ui

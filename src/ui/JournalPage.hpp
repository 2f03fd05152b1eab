#pragma once

#include <QAbstractButton>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "platform/Journal.hpp"

namespace quorvane::ui {

// "What did Quorvane change on this machine?": the activity journal, newest
// first, repeats folded into one line with their count, kept current while
// it is shown: every process that journals writes the same file, which the
// page watches. The input watched and made shows with "Show input".
class JournalPage final : public QWidget {
  public:
    struct Services {
        const platform::Journal& journal;
        // The file to watch; none: the page reads when it is shown.
        std::filesystem::path file{};
        // A cause's name for people (a tweak's, a script's); the id itself
        // when it has none.
        std::function<std::string(const std::string& cause)> nameOf{};
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

    Services services_;
    QListWidget* list_;
    QLabel* notice_;
    QAbstractButton* showInput_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
};

}  // namespace quorvane::ui

#pragma once

#include <QListWidget>
#include <QWidget>

#include "platform/Journal.hpp"

namespace quorvane::ui {

// "What did Quorvane change on this machine?": the activity journal, newest first.
class JournalPage final : public QWidget {
  public:
    JournalPage(const platform::Journal& journal, QWidget* parent = nullptr);

    void reload();
    QListWidget* list() const { return list_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    const platform::Journal& journal_;
    QListWidget* list_;
};

}  // namespace quorvane::ui

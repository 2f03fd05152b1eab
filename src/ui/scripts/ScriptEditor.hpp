#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "triggers/scripts/ScriptTaskService.hpp"
#include "ui/scripts/EmojiPicker.hpp"

namespace quorvane::ui {

// The configure view of a script tweak: what it is and runs, written back
// as the user edits, and a preview run that shows its output or error.
class ScriptEditor final : public QWidget {
  public:
    ScriptEditor(triggers::ScriptTaskService& scripts, triggers::ScriptTask task,
                 QWidget* parent = nullptr);

    QLineEdit* name() const { return name_; }
    QLineEdit* description() const { return description_; }
    EmojiPicker* icon() const { return icon_; }
    QComboBox* mode() const { return mode_; }
    QPlainTextEdit* script() const { return script_; }
    QCheckBox* showsAlert() const { return showsAlert_; }
    QPushButton* run() const { return run_; }
    QLabel* preview() const { return preview_; }

  private:
    void save();

    triggers::ScriptTaskService& scripts_;
    triggers::ScriptTask task_;
    QLineEdit* name_;
    QLineEdit* description_;
    EmojiPicker* icon_;
    QComboBox* mode_;
    QPlainTextEdit* script_;
    QCheckBox* showsAlert_;
    QPushButton* run_;
    QLabel* preview_;
};

}  // namespace quorvane::ui

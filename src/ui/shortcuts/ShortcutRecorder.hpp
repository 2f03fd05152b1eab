#pragma once

#include <QKeySequenceEdit>
#include <QLabel>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/Hotkeys.hpp"

namespace quorvane::ui {

// Records the global shortcut kept under one name: click, press the
// combination; "✕" clears it. A combination that is taken, or a plain key
// that would swallow ordinary typing, is refused with a word why. While it
// listens, the program's own global shortcuts are suspended, so a
// combination a tweak holds reaches the recorder instead of running the
// tweak; the first complete combination ends the recording, and Escape
// cancels it.
class ShortcutRecorder final : public QWidget {
  public:
    // Says who holds a name ("Snap Windows" for "SnapWindowsTask").
    using Describe = std::function<QString(const std::string& name)>;

    ShortcutRecorder(platform::Hotkeys& hotkeys, std::string name, Describe describe,
                     QWidget* parent = nullptr);
    ~ShortcutRecorder() override;

    QKeySequenceEdit* editor() const { return editor_; }
    QLabel* message() const { return message_; }
    // Records a combination as if it had been pressed in the editor.
    void record(const QKeySequence& sequence);

    bool isListening() const { return listening_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showStored();
    void listen(bool on);

    platform::Hotkeys& hotkeys_;
    std::string name_;
    Describe describe_;
    QKeySequenceEdit* editor_;
    QLabel* message_;
    bool listening_ = false;
};

}  // namespace quorvane::ui

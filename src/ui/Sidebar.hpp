#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <QScrollArea>
#include <functional>
#include <vector>

class QVBoxLayout;

namespace quorvane::ui {

// One entry of the sidebar: an icon and a title, highlighted while it is
// the current one. A checkable button to accessibility, checked while
// current; it takes no focus of its own: the sidebar does, and its focus
// rings the current entry.
class SidebarEntry final : public QAbstractButton {
  public:
    SidebarEntry(const QIcon& icon, const QString& title, int destination,
                 const QWidget& sidebar);

    // What the entry leads to, as its owner numbers them.
    int destination() const { return destination_; }
    QString title() const { return text(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    // A click asks the sidebar to make the entry current; the sidebar
    // checks and unchecks.
    void nextCheckState() override {}

  private:
    int destination_;
    const QWidget& sidebar_;
};

// The main window's column of groups and pages: entries in rows, exactly
// one of them current once there is any. A click on an entry makes it
// current; with the focus, the arrow keys, Home and End move it. It
// scrolls when the entries outgrow it. Light to make: a list view and its
// model would cost more at start-up than the whole rest of the window's
// frame.
class Sidebar final : public QScrollArea {
  public:
    explicit Sidebar(QWidget* parent = nullptr);

    // Told each new current entry (none: nullptr), unless the sidebar's
    // signals are blocked (QSignalBlocker), as a list view's would be.
    void onCurrentChanged(std::function<void(SidebarEntry*)> changed) {
        changed_ = std::move(changed);
    }

    int count() const { return static_cast<int>(entries_.size()); }
    SidebarEntry* entry(int row) const;
    // -1 when the entry is not in the sidebar.
    int row(const SidebarEntry* entry) const;

    // At the end when `row` is out of range. The sidebar owns the entry.
    SidebarEntry* insertEntry(int row, const QIcon& icon, const QString& title, int destination);
    // Removed and deleted later (it may be inside its own click). A current
    // entry leaves no current one behind.
    void removeEntry(SidebarEntry* entry);

    SidebarEntry* currentEntry() const { return current_; }
    int currentRow() const { return row(current_); }
    void setCurrentEntry(SidebarEntry* entry);
    void setCurrentRow(int row) { setCurrentEntry(entry(row)); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void tell();

    std::vector<SidebarEntry*> entries_;
    SidebarEntry* current_ = nullptr;
    QVBoxLayout* column_;
    std::function<void(SidebarEntry*)> changed_;
};

}  // namespace quorvane::ui

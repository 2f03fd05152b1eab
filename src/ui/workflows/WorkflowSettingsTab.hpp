#pragma once

#include <QGraphicsOpacityEffect>
#include <QDialog>
#include <QVBoxLayout>
#include <QWidget>

#include "core/workflows/WorkflowService.hpp"
#include "ui/RenewedArea.hpp"

class QComboBox;
class QLineEdit;

namespace quorvane::ui {

// The customise sheet of one workflow: "Name", "Icon" and "Color". What the
// user changed is written back when the sheet closes.
class CustomizeWorkflowDialog final : public QDialog {
  public:
    CustomizeWorkflowDialog(core::WorkflowService& workflows, core::Workflow workflow,
                            QWidget* parent = nullptr);

    QLineEdit* name() const { return name_; }
    QComboBox* icon() const { return icon_; }
    QComboBox* color() const { return color_; }

  protected:
    void done(int result) override;

  private:
    core::WorkflowService& workflows_;
    core::Workflow workflow_;
    QLineEdit* name_;
    QComboBox* icon_;
    QComboBox* color_;
};

// A row whose controls show only while the pointer is over it, or while one
// of them has the keyboard focus.
class HoverRow final : public QWidget {
  public:
    using QWidget::QWidget;
    void revealOnHover(std::initializer_list<QWidget*> controls);
    bool isRevealed() const;

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void reveal(bool revealed);

    std::vector<QGraphicsOpacityEffect*> faded_;
};

// The "Workflows" tab of the settings: a row per workflow with "Edit" and
// "Remove", and a button for a new one.
class WorkflowSettingsTab final : public QWidget {
  public:
    WorkflowSettingsTab(core::Store& store, core::WorkflowService& workflows,
                        QWidget* parent = nullptr);

    QWidget* rows() const { return area_->content(); }

  private:
    void rebuild();

    core::WorkflowService& workflows_;
    RenewedArea* area_;
    std::vector<core::Workflow> shown_;
    core::Subscription watch_;
};

}  // namespace quorvane::ui

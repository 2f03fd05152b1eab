#pragma once

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

#pragma once

#include <QLabel>
#include <QWidget>

#include "system/LocationSetterTask.hpp"
#include "system/UnquarantineTask.hpp"
#include "ui/ConfigureViews.hpp"

namespace quorvane::ui {

// How a view asks the user for a folder or file; a dialog in the program,
// a fixed answer in tests. Empty means the user cancelled.
using ChooseFolder = std::function<QString(QWidget* parent, const QString& start)>;
enum class ChosenKind { file, folder };
using ChooseFile = std::function<QString(QWidget* parent, ChosenKind kind)>;

// The screenshot-location setters' view: "Path", "Choose", "Apply", "Reset".
class LocationSetterView final : public QWidget {
  public:
    LocationSetterView(const system::LocationSetter& setter, ChooseFolder choose,
                       QWidget* parent = nullptr);
    QLabel* path() const { return path_; }

  private:
    const system::LocationSetter& setter_;
    ChooseFolder choose_;
    QLabel* path_;
    QString chosen_;
};

// Unquarantine's view: "Selected File", "Choose File…", "Choose Folder…"
// (a folder or an application), "Unquarantine" and the result line.
class UnquarantineView final : public QWidget {
  public:
    UnquarantineView(system::SystemServices& services, ChooseFile choose,
                     QWidget* parent = nullptr);
    QLabel* result() const { return result_; }

  private:
    system::SystemServices& services_;
    ChooseFile choose_;
    QLabel* selected_;
    QLabel* result_;
    QString path_;
};

// The configure views of the system tweaks, with the system's file dialogs.
void addSystemConfigureViews(ConfigureViews& views, system::SystemServices& services);

}  // namespace quorvane::ui

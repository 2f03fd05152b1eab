#include "ui/SystemViews.hpp"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>

#include "ui/Looks.hpp"
#include "ui/power/ScheduleEditor.hpp"

namespace quorvane::ui {

LocationSetterView::LocationSetterView(const system::LocationSetter& setter, ChooseFolder choose,
                                       QWidget* parent)
    : QWidget(parent), setter_(setter), choose_(std::move(choose)) {
    path_ = new QLabel(this);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* chooseButton = new QPushButton(tr("Choose"), this);
    auto* apply = new QPushButton(tr("Apply"), this);
    apply->setEnabled(false);
    auto* reset = new QPushButton(tr("Reset"), this);
    tint(reset, errorText(reset->palette()), QPalette::ButtonText);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chooseButton);
    buttons->addWidget(apply);
    buttons->addStretch(1);
    buttons->addWidget(reset);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Path"), path_);
    form->addRow(buttons);

    QPointer<QLabel> shown = path_;
    auto showStored = [this, shown] {
        setter_.read([shown](std::string folder) {
            if (shown)
                shown->setText(QString::fromStdString(folder));
        });
    };
    showStored();
    connect(chooseButton, &QPushButton::clicked, this, [this, apply] {
        const QString folder = choose_(this, path_->text());
        if (folder.isEmpty())
            return;
        chosen_ = folder;
        path_->setText(folder);
        apply->setEnabled(true);
    });
    connect(apply, &QPushButton::clicked, this, [this, apply] {
        setter_.apply(chosen_.toStdString());
        apply->setEnabled(false);
    });
    connect(reset, &QPushButton::clicked, this, [this, showStored] {
        setter_.reset();
        showStored();
    });
}

UnquarantineView::UnquarantineView(system::SystemServices& services, ChooseFile choose,
                                   QWidget* parent)
    : QWidget(parent), services_(services), choose_(std::move(choose)) {
    selected_ = new QLabel(tr("No file selected"), this);
    selected_->setWordWrap(true);
    auto* chooseFile = new QPushButton(tr("Choose File…"), this);
    auto* chooseFolder = new QPushButton(tr("Choose Folder…"), this);
    auto* run = new QPushButton(tr("Unquarantine"), this);
    run->setEnabled(false);
    result_ = new QLabel(this);
    result_->setWordWrap(true);

    auto* form = new QFormLayout(this);
    form->addRow(tr("Selected File"), selected_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chooseFile);
    buttons->addWidget(chooseFolder);
    buttons->addWidget(run);
    buttons->addStretch(1);
    form->addRow(buttons);
    form->addRow(result_);

    // The command removes the attribute from a folder's contents too, so a
    // folder (or an application bundle) is as good a choice as a file.
    auto chooseKind = [this, run](ChosenKind kind) {
        const QString chosen = choose_(this, kind);
        if (chosen.isEmpty())
            return;
        path_ = chosen;
        selected_->setText(chosen);
        run->setEnabled(true);
    };
    connect(chooseFile, &QPushButton::clicked, this, [chooseKind] { chooseKind(ChosenKind::file); });
    connect(chooseFolder, &QPushButton::clicked, this, [chooseKind] {
        chooseKind(ChosenKind::folder);
    });
    QPointer<QLabel> result = result_;
    connect(run, &QPushButton::clicked, this, [this, result] {
        system::unquarantine(
            services_, path_.toStdString(), [result](system::UnquarantineMessage message) {
                if (!result)
                    return;
                const bool removed = message.symbol == "checkmark.circle.fill";
                result->setText((removed ? QStringLiteral("✅ ") : QStringLiteral("❌ ")) +
                                QString::fromStdString(message.text));
            });
    });
}

void addSystemConfigureViews(ConfigureViews& views, system::SystemServices& services) {
    auto locationSetter = [](const std::shared_ptr<core::Tweak>& tweak,
                             QWidget* parent) -> QWidget* {
        auto* setter = dynamic_cast<system::LocationSetterTask*>(tweak.get());
        if (!setter)
            return nullptr;
        return new LocationSetterView(
            setter->setter(),
            [](QWidget* owner, const QString& start) {
                return QFileDialog::getExistingDirectory(owner, QObject::tr("Choose"), start);
            },
            parent);
    };
    views.add("SetScreenshotLocationTask", locationSetter);
    views.add("SetSimulatorScreenshotLocationTask", locationSetter);
    views.add("EnergySaverTask",
              [](const std::shared_ptr<core::Tweak>& tweak, QWidget* parent) -> QWidget* {
                  auto* energySaver = dynamic_cast<system::EnergySaverTask*>(tweak.get());
                  return energySaver ? new ScheduleEditor(*energySaver, parent) : nullptr;
              });
    views.add(
        "UnquarantineTask", [&services](const std::shared_ptr<core::Tweak>&, QWidget* parent) {
            return new UnquarantineView(
                services,
                [home = QString::fromStdString(services.homeDirectory)](QWidget* owner,
                                                                        ChosenKind kind) {
                    const bool folder = kind == ChosenKind::folder;
                    QFileDialog dialog(
                        owner, folder ? QObject::tr("Select a folder or app to remove quarantine")
                                      : QObject::tr("Select a file to remove quarantine"));
                    dialog.setFileMode(folder ? QFileDialog::Directory : QFileDialog::ExistingFile);
                    dialog.setLabelText(QFileDialog::Accept, QObject::tr("Select"));
                    dialog.setDirectory(home);  // the Mac's home, not wherever we were started
                    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                        return QString();
                    return dialog.selectedFiles().front();
                },
                parent);
        });
}

}  // namespace quorvane::ui

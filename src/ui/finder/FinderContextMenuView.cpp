#include "ui/finder/FinderContextMenuView.hpp"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane::ui {

namespace {

QGroupBox* section(const QString& title, const QString& text, QPushButton* button,
                   const QStringList& steps) {
    auto* box = new QGroupBox(title);
    auto* column = new QVBoxLayout(box);
    auto* intro = new QLabel(text);
    intro->setWordWrap(true);
    column->addWidget(intro);
    column->addWidget(button, 0, Qt::AlignLeft);
    // Numbered like the circled-number symbols of the Mac's settings.
    static const QStringList numbers{"①", "②", "③", "④", "⑤"};
    for (int i = 0; i < steps.size(); ++i)
        column->addWidget(new QLabel(numbers[i] + "  " + steps[i]));
    return box;
}

// The desktop's file managers: each found, with the actions it holds or
// why it holds none.
QGroupBox* fileManagerSection(const std::vector<platform::FileManagerReport>& reports) {
    auto* box = new QGroupBox(QObject::tr("File Managers"));
    box->setObjectName("FileManagers");
    auto* column = new QVBoxLayout(box);
    auto* intro = new QLabel(QObject::tr(
        "While this tweak is on, the file managers in your folders offer Quorvane's actions on "
        "the files you select. Switching it off removes them."));
    intro->setWordWrap(true);
    column->addWidget(intro);
    if (reports.empty())
        column->addWidget(new QLabel(
            QObject::tr("No file manager was found (Nautilus, Nemo, Dolphin or Thunar).")));
    for (const auto& report : reports) {
        QString text = QStringLiteral("<b>%1</b> — ").arg(QString::fromStdString(report.fileManager).toHtmlEscaped());
        if (!report.error.empty()) {
            text += QObject::tr("not installed: %1")
                        .arg(QString::fromStdString(report.error).toHtmlEscaped());
        } else if (report.installed.empty()) {
            text += QObject::tr("nothing installed");
        } else {
            QStringList names;
            for (const auto& name : report.installed)
                names << QString::fromStdString(name).toHtmlEscaped();
            text += QObject::tr("%1 in %2")
                        .arg(names.join(QStringLiteral(", ")),
                             QString::fromStdString(report.location.string()).toHtmlEscaped());
        }
        auto* line = new QLabel(text);
        line->setWordWrap(true);
        line->setTextFormat(Qt::RichText);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        column->addWidget(line);
    }
    return box;
}

}  // namespace

FinderContextMenuView::FinderContextMenuView(platform::Workspace& workspace,
                                             triggers::FileManagerSync* fileManagers,
                                             QWidget* parent)
    : QWidget(parent) {
    // "&&": a single "&" would make the next letter a keyboard mnemonic.
    auto* extensions = new QPushButton(tr("Open Login Items && Extensions"));
    extensions->setObjectName("OpenExtensions");
    connect(extensions, &QPushButton::clicked, this,
            [&workspace] { (void)workspace.showExtensionManagement(); });
    auto* keyboard = new QPushButton(tr("Open Keyboard Shortcuts"));
    keyboard->setObjectName("OpenKeyboard");
    connect(keyboard, &QPushButton::clicked, this,
            [&workspace] { (void)workspace.openUrl(keyboardSettingsUrl); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(section(
        tr("Finder Extension"),
        tr("Enable the Finder extension to add Quorvane actions to the right-click context menu."),
        extensions,
        {tr("Open System Settings"), tr("Go to Login Items & Extensions"),
         tr("Click Extensions in the sidebar"), tr("Find Quorvane and enable it")}));
    column->addWidget(section(
        tr("Services"),
        tr("Quorvane actions are also available in the Services menu. You can enable or disable "
           "services, and assign keyboard shortcuts for quick access."),
        keyboard,
        {tr("Open System Settings"), tr("Go to Keyboard > Keyboard Shortcuts"),
         tr("Click Services in the sidebar"),
         tr("Find Quorvane services under Files and Folders")}));
    if (fileManagers)
        column->addWidget(fileManagerSection(fileManagers->report()));
}

}  // namespace quorvane::ui

#include "ui/ConfigureSheet.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/FormView.hpp"
#include "ui/shortcuts/ShortcutRecorder.hpp"

namespace quorvane::ui {

ConfigureSheet::ConfigureSheet(const std::shared_ptr<core::Tweak>& tweak,
                               const CustomConfigureViews& customViews,
                               platform::UserDefaults& defaults, platform::Hotkeys* hotkeys,
                               std::function<QString(const std::string&)> describe, QWidget* parent)
    : QDialog(parent) {
    setObjectName("ConfigureSheet");
    setWindowTitle(QString::fromStdString(tweak->icon() + "  " + tweak->name()));
    auto* column = new QVBoxLayout(this);
    QWidget* content = customViews ? customViews(tweak, this) : nullptr;
    if (!content) {
        const auto form = tweak->configureView();
        if (!form.isEmpty())
            content = new FormView(form, defaults, {}, this);
        else
            content = new QLabel(
                tr("%1 has nothing to configure.").arg(QString::fromStdString(tweak->name())),
                this);
    }
    column->addWidget(content, 1);
    if (hotkeys) {
        auto* shortcut = new QFormLayout;
        shortcut->addRow(tr("Keyboard Shortcut"),
                         new ShortcutRecorder(*hotkeys, tweak->id(), std::move(describe), this));
        column->addLayout(shortcut);
    }

    auto* done = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(done, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(done);
    resize(460, 220);
}

InfoDialog::InfoDialog(const core::Tweak& tweak, QWidget* parent) : QDialog(parent) {
    setObjectName("InfoDialog");
    setWindowTitle(QString::fromStdString(tweak.name()));
    auto* column = new QVBoxLayout(this);
    auto* heading = new QLabel(QString::fromStdString(tweak.icon() + "  " + tweak.name()), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSize(headingFont.pointSize() + 3);
    heading->setFont(headingFont);
    column->addWidget(heading);
    auto* explanation =
        new QLabel(QString::fromStdString(tweak.explanation().empty() ? tweak.description()
                                                                      : tweak.explanation()),
                   this);
    explanation->setWordWrap(true);
    explanation->setObjectName("Explanation");
    column->addWidget(explanation);
    if (!tweak.docUrl().empty()) {
        auto* link =
            new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                           .arg(QString::fromStdString(tweak.docUrl()), tr("Documentation")),
                       this);
        link->setOpenExternalLinks(true);
        column->addWidget(link);
    }
    auto* done = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(done, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(done);
    resize(440, 200);
}

}  // namespace quorvane::ui

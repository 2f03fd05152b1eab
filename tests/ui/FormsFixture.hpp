#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <memory>
#include <string>

#include "ui/ConfigureSheet.hpp"

namespace quorvane::ui::testing {

// Lets layouts settle, then writes the widget's picture among the screenshots.
inline void saveScreenshot(QWidget& widget, const QString& file) {
    for (int pass = 0; pass < 3; ++pass)
        QApplication::processEvents();
    const QString folder = QStringLiteral(QUORVANE_SCREENSHOTS);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(widget.grab().save(folder + "/" + file));
}

// A folder's tweak fixture with a Qt application, and the configure sheet
// of one of its tweaks, shown.
template <class TweakFixture>
struct FormsFixture : TweakFixture {
    int argc = 1;
    char name[16] = "tweak-forms";
    char* argv[1] = {name};
    QApplication application{argc, argv};

    std::unique_ptr<ConfigureSheet> sheet(const std::string& id) {
        auto made = std::make_unique<ConfigureSheet>(this->tweaks.at(id), CustomConfigureViews{},
                                                     this->defaults);
        made->show();
        QApplication::processEvents();
        return made;
    }
    void save(QWidget& widget, const QString& file) { saveScreenshot(widget, file); }
};

}  // namespace quorvane::ui::testing

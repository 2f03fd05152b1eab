#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QWindow>

#include <filesystem>
#include <fstream>

#include "adapters/qt/QtMainQueue.hpp"
#include "adapters/qt/QtPasteboard.hpp"
#include "adapters/qt/QtRegionCapture.hpp"
#include "adapters/x11/InputHolds.hpp"
#include "support/TemporaryDirectory.hpp"
#include "support/WaitFor.hpp"

namespace quorvane::platform::qt {
namespace {

using quorvane::testing::waitFor;

struct TextX11 : ::testing::Test {
    int argc = 1;
    char name[16] = "text-x11";
    char* argv[1] = {name};
    QApplication application{argc, argv};

    // Runs a program to its end while our event loop serves the X server
    // (and so our own clipboard).
    QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(waitFor([&] { return process.state() == QProcess::NotRunning; }));
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    bool overlayShown() const {
        for (QWindow* window : QGuiApplication::topLevelWindows())
            if (window->isVisible() && window->title() == "Quorvane screen selection")
                return true;
        return false;
    }
};

TEST_F(TextX11, anotherProgramsCopyIsCountedAndOursReachesOtherPrograms) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display (run under xvfb-run)";
    QtPasteboard pasteboard;
    const long start = pasteboard.changeCount();
    quorvane::testing::TemporaryDirectory folder;
    const auto page = folder.path() / "page.html";
    std::ofstream(page) << "<p>copied <b>elsewhere</b></p>";
    // xclip stays behind to serve its selection until someone else owns it.
    QProcess::startDetached("xclip", {"-selection", "clipboard", "-t", "text/html", "-i",
                                      QString::fromStdString(page.string())});
    ASSERT_TRUE(waitFor([&] { return pasteboard.changeCount() > start; }));
    EXPECT_EQ(pasteboard.types(), std::vector<std::string>{pasteboardType::html});
    EXPECT_EQ(pasteboard.data(pasteboardType::html), "<p>copied <b>elsewhere</b></p>");

    pasteboard.write({{pasteboardType::string, "plain now"}, {pasteboardType::transient, "1"}});
    const QString targets = run("xclip", {"-selection", "clipboard", "-o", "-t", "TARGETS"});
    EXPECT_TRUE(targets.contains("text/plain")) << targets.toStdString();
    EXPECT_TRUE(targets.contains("org.nspasteboard.TransientType")) << targets.toStdString();
    EXPECT_EQ(run("xclip", {"-selection", "clipboard", "-o"}), "plain now");
}

TEST_F(TextX11, theFrozenScreenTakesADragAndEscapeCancels) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display (run under xvfb-run)";
    // Held as the program holds it: through the watched grab.
    QtMainQueue queue;
    auto holds = x11::connectWindowHolds(queue);
    ASSERT_TRUE(holds);
    QtRegionCapture capture([&holds] { return holds.get(); });
    std::optional<std::optional<std::string>> result;
    capture.captureRegion([&](std::optional<std::string> image) { result = std::move(image); });
    ASSERT_TRUE(waitFor([&] { return overlayShown(); }));
    run("xdotool", {"mousemove", "100", "120", "mousedown", "1", "mousemove", "200", "160",
                    "mousemove", "300", "220", "mouseup", "1"});
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    ASSERT_TRUE(result->has_value());
    QImage region;
    ASSERT_TRUE(region.loadFromData(reinterpret_cast<const uchar*>((*result)->data()),
                                    static_cast<int>((*result)->size())));
    EXPECT_EQ(region.size(), QSize(200, 100));
    EXPECT_TRUE(waitFor([&] { return !overlayShown(); }));

    // Escape, and a drag too small to mean a region, choose nothing.
    result.reset();
    capture.captureRegion([&](std::optional<std::string> image) { result = std::move(image); });
    ASSERT_TRUE(waitFor([&] { return overlayShown(); }));
    run("xdotool", {"key", "Escape"});
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    EXPECT_FALSE(result->has_value());
    result.reset();
    capture.captureRegion([&](std::optional<std::string> image) { result = std::move(image); });
    ASSERT_TRUE(waitFor([&] { return overlayShown(); }));
    run("xdotool", {"mousemove", "50", "50", "mousedown", "1", "mousemove", "52", "90", "mouseup", "1"});
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    EXPECT_FALSE(result->has_value());
}

// An alert left open does not hold the picker up: one Escape cancels the
// picker, and the alert is still there to be read.
TEST_F(TextX11, aPickerOpenedOverAnOpenAlertTakesTheKeys) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display (run under xvfb-run)";
    QtMainQueue queue;
    auto holds = x11::connectWindowHolds(queue);
    ASSERT_TRUE(holds);
    QMessageBox alert(QMessageBox::Warning, QStringLiteral("Quorvane"), QStringLiteral("Read me"),
                      QMessageBox::Ok);
    alert.setWindowModality(Qt::ApplicationModal);
    alert.show();
    ASSERT_TRUE(waitFor([&] { return alert.isVisible(); }));
    QtRegionCapture capture([&holds] { return holds.get(); });
    std::optional<std::optional<std::string>> result;
    capture.captureRegion([&](std::optional<std::string> image) { result = std::move(image); });
    ASSERT_TRUE(waitFor([&] { return overlayShown(); }));
    run("xdotool", {"key", "Escape"});
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    EXPECT_FALSE(result->has_value());
    EXPECT_TRUE(alert.isVisible());
}

}  // namespace
}  // namespace quorvane::platform::qt

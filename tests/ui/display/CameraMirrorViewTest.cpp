#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "display/DisplayFixture.hpp"
#include "display/camera/CameraMirrorTask.hpp"
#include "simmac/SimCameras.hpp"
#include "ui/ConfigureSheet.hpp"
#include "ui/FormsFixture.hpp"
#include "ui/display/CameraMirrorView.hpp"

namespace quorvane::ui {
namespace {

using Shape = platform::MirrorPicture::Shape;
using platform::sim::SimCameras;

// The camera mirror's window and form, with a Qt application (the test
// pattern's clock and the "No camera" text need fonts).
using CameraMirrorFormTest = testing::FormsFixture<display::testing::DisplayFixture>;

// The mirror as its window draws it, on a clear canvas.
QImage drawn(const platform::MirrorPicture& mirror, int side = 240) {
    QImage canvas(side, side, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    platform::OverlayDescription description;
    description.content = platform::OverlayDescription::Content::cameraMirror;
    description.mirror = mirror;
    cameraMirror::paint(painter, description, canvas.size());
    return canvas;
}

platform::MirrorPicture pattern(Shape shape = Shape::circle) {
    platform::MirrorPicture picture;
    picture.shape = shape;
    picture.frame = SimCameras::testPattern("Built-in Camera", {640, 480}, 1.5);
    return picture;
}

// The test pattern's bars run white (left) to blue (right).
bool whitish(QRgb pixel) {
    return qRed(pixel) > 150 && qGreen(pixel) > 150 && qBlue(pixel) > 150;
}
bool bluish(QRgb pixel) {
    return qBlue(pixel) > 150 && qRed(pixel) < 60 && qGreen(pixel) < 60;
}

void keep(const QImage& image, const QString& file) {
    const QString folder = QStringLiteral(QUORVANE_SCREENSHOTS);
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + "/" + file));
}

TEST_F(CameraMirrorFormTest, theShapeCutsThePictureWhichIsMirroredAndTurnedAsAsked) {
    const auto circle = drawn(pattern());
    EXPECT_EQ(qAlpha(circle.pixel(3, 3)), 0);        // outside the circle
    EXPECT_EQ(qAlpha(circle.pixel(120, 120)), 255);  // the frame in the middle
    // Fitted: the 4:3 picture spans the width, its bars in order.
    EXPECT_TRUE(whitish(circle.pixel(12, 120))) << std::hex << circle.pixel(12, 120);
    EXPECT_TRUE(bluish(circle.pixel(228, 120))) << std::hex << circle.pixel(228, 120);

    auto mirrored = pattern();
    mirrored.mirrored = true;
    const auto flipped = drawn(mirrored);
    EXPECT_TRUE(bluish(flipped.pixel(12, 120))) << std::hex << flipped.pixel(12, 120);
    EXPECT_TRUE(whitish(flipped.pixel(228, 120))) << std::hex << flipped.pixel(228, 120);

    // Landscape Right: a quarter turn clockwise puts the left edge on top.
    auto turned = pattern();
    turned.quarterTurns = 1;
    const auto right = drawn(turned);
    EXPECT_TRUE(whitish(right.pixel(120, 10))) << std::hex << right.pixel(120, 10);
    EXPECT_TRUE(bluish(right.pixel(120, 230))) << std::hex << right.pixel(120, 230);

    // Corners: cut off by the rounded rectangle (radius 24) and the
    // squircle, which reaches further into them than the circle does.
    const auto rounded = drawn(pattern(Shape::roundedRectangle));
    EXPECT_EQ(qAlpha(rounded.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(rounded.pixel(12, 12)), 255);
    EXPECT_EQ(qAlpha(rounded.pixel(120, 1)), 255);
    const auto squircle = drawn(pattern(Shape::squircle));
    EXPECT_EQ(qAlpha(squircle.pixel(8, 8)), 0);
    EXPECT_EQ(qAlpha(squircle.pixel(30, 30)), 255);
    EXPECT_EQ(qAlpha(circle.pixel(30, 30)), 0);

    // The window's own shape matches what is drawn.
    platform::OverlayDescription description;
    description.mirror = pattern(Shape::circle);
    const auto region = cameraMirror::shape(description, {240, 240});
    EXPECT_FALSE(region.contains(QPoint(3, 3)));
    EXPECT_TRUE(region.contains(QPoint(120, 120)));
}

TEST_F(CameraMirrorFormTest, picturesOfEachShapeAndOfNoCamera) {
    for (const auto& [shape, file] : {std::pair{Shape::circle, "camera-mirror-circle.png"},
                                      std::pair{Shape::roundedRectangle, "camera-mirror-rounded.png"},
                                      std::pair{Shape::squircle, "camera-mirror-squircle.png"}}) {
        auto mirror = pattern(shape);
        mirror.fills = true;
        mirror.bordered = shape == Shape::roundedRectangle;
        mirror.hovered = shape == Shape::squircle;
        keep(drawn(mirror), file);
    }
    platform::MirrorPicture nothing;
    nothing.message = "No camera";
    nothing.reason = "No camera is connected";
    const auto none = drawn(nothing);
    EXPECT_EQ(qAlpha(none.pixel(3, 3)), 0);
    EXPECT_EQ(qAlpha(none.pixel(120, 120)), 255);
    keep(none, "camera-mirror-no-camera.png");
}

TEST_F(CameraMirrorFormTest, theFormFindsCamerasOnRequestAndEditsTheMirrorAfterAPause) {
    using namespace std::chrono_literals;
    ASSERT_TRUE(cameras.perform({"add", "Desk Camera"}));
    auto form = sheet("CameraMirrorTask");
    QApplication::processEvents();
    QStringList titles;
    for (auto* label : form->findChildren<QLabel*>())
        titles << label->text();
    for (const char* title : {"Camera", "Quality", "Shape", "Content mode", "Size", "Video Orientation"})
        EXPECT_TRUE(titles.contains(title) || titles.contains(QString(title) + ":")) << title;

    auto pickers = form->findChildren<QComboBox*>();
    ASSERT_EQ(pickers.size(), 5u);
    auto* camera = pickers[0];
    EXPECT_EQ(camera->count(), 1);  // the default, until the cameras are checked
    QPushButton* check = nullptr;
    for (auto* button : form->findChildren<QPushButton*>())
        if (button->text() == "Check devices")
            check = button;
    ASSERT_TRUE(check);
    check->click();
    ASSERT_EQ(camera->count(), 3);
    EXPECT_EQ(camera->itemText(2), "Desk Camera");

    auto* size = form->findChild<QSpinBox*>();
    ASSERT_TRUE(size);
    EXPECT_EQ(size->text(), "3x");
    auto& task = dynamic_cast<display::CameraMirrorTask&>(tweak("CameraMirrorTask"));
    camera->setCurrentIndex(2);
    pickers[1]->setCurrentText("High");
    size->setValue(5);
    queue.advance(100ms);
    EXPECT_EQ(task.configuration().size, 3);
    queue.advance(150ms);
    EXPECT_EQ(task.configuration().size, 5);
    EXPECT_EQ(task.configuration().preset, platform::CameraPreset::high);
    ASSERT_TRUE(task.configuration().device);
    EXPECT_EQ(task.configuration().device->localizedName, "Desk Camera");
    save(*form, "configure-camera-mirror.png");
}

}  // namespace
}  // namespace quorvane::ui

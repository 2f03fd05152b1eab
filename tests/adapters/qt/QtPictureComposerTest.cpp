#include <gtest/gtest.h>

#include <QImage>

#include "adapters/qt/QtPictureComposer.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::qt {
namespace {

TEST(QtPictureComposer, theBandIsBlackAndThePictureBelowItIsTheCropLeftAlone) {
    quorvane::testing::TemporaryDirectory folder;
    // 16:10, each row its own shade, so the crop shows where it was cut.
    QImage picture(160, 100, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(200, 2 * y, 50));
    const std::string path = (folder.path() / "picture.png").string();
    ASSERT_TRUE(picture.save(QString::fromStdString(path)));

    QtPictureComposer composer;
    EXPECT_EQ(composer.sizeOf(path).value(), (Size{160, 100}));
    EXPECT_FALSE(composer.sizeOf((folder.path() / "none.png").string()));
    // On a 16:9 screen of 160 × 90: five rows off the top and the bottom.
    auto made = composer.compose(path, {160, 100}, {{0, 5}, {160, 90}}, 24);
    ASSERT_TRUE(made);
    QImage result = QImage::fromData(QByteArray::fromStdString(made.value()), "PNG");
    ASSERT_EQ(result.size(), QSize(160, 90));
    EXPECT_EQ(result.pixel(80, 0), qRgb(0, 0, 0));
    EXPECT_EQ(result.pixel(159, 23), qRgb(0, 0, 0));
    EXPECT_EQ(result.pixel(80, 24), qRgb(200, 2 * 29, 50));
    EXPECT_EQ(result.pixel(0, 89), qRgb(200, 2 * 94, 50));
    EXPECT_FALSE(composer.compose(path, {0, 0}, {{0, 0}, {1, 1}}, 24));
}

}  // namespace
}  // namespace quorvane::platform::qt

#include <gtest/gtest.h>

#include "platform/ColorSampler.hpp"
#include "adapters/qt/Loupe.hpp"

namespace quorvane::platform::qt {
namespace {

TEST(ColorText, isLowerCaseHexAndReadsBackEitherCase) {
    EXPECT_EQ(hexText({0x12, 0xab, 0x34}), "#12ab34");
    EXPECT_EQ(hexText({0, 0, 0}), "#000000");
    EXPECT_EQ(parseHexColor("#12AB34"), (SampledColor{0x12, 0xab, 0x34}));
    for (const char* bad : {"12ab34", "#12ab3", "#12ab345", "#12ag34", ""})
        EXPECT_FALSE(parseHexColor(bad)) << bad;
}

TEST(Loupe, magnifiesAroundThePointAndDarkensBeyondTheEdge) {
    QImage capture(40, 30, QImage::Format_RGB32);
    capture.fill(qRgb(0x12, 0xab, 0x34));
    capture.setPixel(0, 0, qRgb(255, 0, 0));
    Loupe loupe;
    const QImage* before = &loupe.image();
    const auto* bits = loupe.image().constBits();

    // At the corner: the centre cell is the corner pixel, the cells up and
    // left of it are outside the capture.
    EXPECT_EQ(loupe.render(capture, {0, 0}), qRgb(255, 0, 0));
    const int middle = Loupe::cells / 2 * Loupe::zoom;
    EXPECT_EQ(loupe.image().pixel(middle, middle), qRgb(255, 0, 0));
    EXPECT_EQ(loupe.image().pixel(middle + Loupe::zoom - 1, middle + Loupe::zoom - 1), qRgb(255, 0, 0));
    EXPECT_EQ(loupe.image().pixel(middle + Loupe::zoom, middle), qRgb(0x12, 0xab, 0x34));
    EXPECT_EQ(loupe.image().pixel(middle - 1, middle), qRgb(24, 24, 24));
    EXPECT_EQ(loupe.image().pixel(0, 0), qRgb(24, 24, 24));

    EXPECT_EQ(loupe.render(capture, {20, 15}), qRgb(0x12, 0xab, 0x34));
    EXPECT_EQ(loupe.image().pixel(0, 0), qRgb(0x12, 0xab, 0x34));
    // Drawn in place, in the one image.
    EXPECT_EQ(&loupe.image(), before);
    EXPECT_EQ(loupe.image().constBits(), bits);
}

}  // namespace
}  // namespace quorvane::platform::qt
